// The tool reads and writes only the bytes the records occupy. On the real
// file system, over many generated carriers, its files and answers must be
// exactly those of the records written and read in a whole carrier in memory.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <sstream>
#include <thread>

#include "CarrierRecords.h"
#include "CliTestSupport.h"
#include "Commands.h"
#include "KernelCopy.h"
#include "PasswordRules.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string RandomText(std::size_t size, std::mt19937& rng, int lowest = 1) {
    std::string text(size, ' ');
    for (char& c : text) {
        c = static_cast<char>(lowest +
                              static_cast<int>(rng() % static_cast<unsigned>(256 - lowest)));
    }
    return text;
}

std::string AsText(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

Bytes AsBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::int32_t Size(const Bytes& carrier) {
    return static_cast<std::int32_t>(carrier.size());
}

// Today's hide in memory: both records written into the whole carrier, or
// nothing when either does not fit.
std::optional<Bytes> HiddenInMemory(Bytes carrier, const std::string& password,
                                    const std::string& message) {
    SilentReporter silent;
    const std::string stored = StoredForm(password);
    if (CanCurtainString(Size(carrier), kPasswordRecordStart, stored, silent) != 1 ||
        CanCurtainString(Size(carrier), kMessageRecordStart, message, silent) != 1) {
        return std::nullopt;
    }
    CurtainString(carrier.data(), Size(carrier), kPasswordRecordStart, stored, silent);
    CurtainString(carrier.data(), Size(carrier), kMessageRecordStart, message, silent);
    return carrier;
}

// Feeds `bytes` to whoever opens the FIFO at `path` for reading.
class FifoFeeder {
public:
    FifoFeeder(std::string path, std::string bytes) : m_path(std::move(path)) {
        EXPECT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
        m_writer = std::thread([this, bytes = std::move(bytes)] {
            const int fd = ::open(m_path.c_str(), O_WRONLY);
            for (std::size_t put = 0; fd >= 0 && put < bytes.size();) {
                const ssize_t wrote = ::write(fd, bytes.data() + put, bytes.size() - put);
                if (wrote <= 0) {
                    break;
                }
                put += static_cast<std::size_t>(wrote);
            }
            ::close(fd);
        });
    }
    FifoFeeder(const FifoFeeder&) = delete;
    FifoFeeder& operator=(const FifoFeeder&) = delete;
    ~FifoFeeder() {
        // Releases a writer still waiting for a reader that never came.
        const int unblock = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK);
        m_writer.join();
        ::close(unblock);
    }

private:
    std::string m_path;
    std::thread m_writer;
};

TEST(CarrierIoTest, HideWritesTheBytesOfTheWholeCarrierHideOnEveryRoad) {
    std::mt19937 rng(1207);
    const TempDir dir;
    for (int round = 0; round < 48; ++round) {
        // Half are 24-bit bitmaps, which the damage guard lets through after
        // reading their headers; half are any bytes, hidden with --force.
        const bool forced = round % 2 == 1;
        Bytes image = AsBytes(MakeBitmap(static_cast<std::uint32_t>(8 + rng() % 300),
                                         static_cast<std::uint32_t>(8 + rng() % 300)));
        const std::size_t keep = forced ? 0 : 54;
        const std::string noise = RandomText(forced ? 900 + rng() % 300000 : image.size(), rng, 0);
        image.resize(keep);
        image.insert(image.end(), noise.begin() + static_cast<std::ptrdiff_t>(keep), noise.end());
        const std::int64_t capacity = MessageCapacity(Size(image));
        const std::string message =
            RandomText(1 + rng() % static_cast<std::size_t>(capacity + 16), rng);
        const std::string password = RandomText(8 + rng() % 9, rng, 33);
        const std::optional<Bytes> expected = HiddenInMemory(image, password, message);
        // Into a new file; over the image itself; from a pipe.
        const int road = round % 3;
        SCOPED_TRACE(testing::Message() << "round " << round << ", size " << image.size()
                                        << ", message " << message.size() << ", road " << road);

        const std::string imagePath = dir / "image.bmp";
        const std::string outputPath = road == 1 ? imagePath : dir / "out.bmp";
        std::filesystem::remove(dir / "out.bmp");
        std::filesystem::remove(imagePath);
        WriteText(dir / "message.txt", message);
        std::optional<FifoFeeder> feeder;
        if (road == 2) {
            feeder.emplace(imagePath, AsText(image));
        } else {
            WriteText(imagePath, AsText(image));
        }

        std::vector<std::string> args{"hide", imagePath, outputPath, "--text-file",
                                      dir / "message.txt"};
        if (forced) {
            args.emplace_back("--force");
        }
        const Finished outcome = RunTool(args, {.password = password});
        feeder.reset();
        if (!expected) {
            EXPECT_EQ(outcome.code, 1);
            EXPECT_FALSE(std::filesystem::exists(dir / "out.bmp"));
            EXPECT_TRUE(road != 1 || AsBytes(ReadText(imagePath)) == image);
            continue;
        }
        ASSERT_EQ(outcome.code, 0) << outcome.err;
        EXPECT_TRUE(AsBytes(ReadText(outputPath)) == *expected) << "bytes differ";
        EXPECT_EQ(dir.Names().size(), road == 1 ? 2u : 3u) << "no temporary left";
    }
}

// A carrier with records, whose message length word may then be spoilt:
// zero, negative, not whole blocks, or running to or past the end.
Bytes GeneratedCarrier(int kind, const std::string& password, std::mt19937& rng) {
    Bytes carrier = AsBytes(RandomText(1200 + rng() % 100000, rng, 0));
    const std::int64_t capacity = MessageCapacity(Size(carrier));
    const std::string message =
        kind == 1 ? std::string(1 + rng() % 40, ' ')
                  : RandomText(1 + rng() % static_cast<std::size_t>(capacity), rng);
    carrier = *HiddenInMemory(carrier, password, message);
    const std::int64_t room = (Size(carrier) - kMessageRecordStart - kRecordTail) / kByteStride;
    const std::uint32_t spoilt[] = {0, 0x80000008u, 13, static_cast<std::uint32_t>(room / 8 * 8),
                                    static_cast<std::uint32_t>(room / 8 * 8 + 8)};
    if (kind >= 2 && kind <= 6) {
        const std::uint32_t value = spoilt[static_cast<std::size_t>(kind - 2)];
        for (int k = 0; k < 32; ++k) {
            std::uint8_t& byte = carrier[static_cast<std::size_t>(kMessageRecordStart - 32 + k)];
            byte = static_cast<std::uint8_t>((byte & ~1u) | ((value >> k) & 1u));
        }
    }
    if (kind == 7) {  // no records at all
        std::fill(carrier.begin() + 60, carrier.end(), std::uint8_t{0xFE});
    }
    return carrier;
}

// What reveal answers for a carrier held whole in memory, as it always has.
std::optional<std::string> RevealedInMemory(const Bytes& carrier) {
    SilentReporter silent;
    if (ReadCurtainedString(carrier.data(), Size(carrier), kPasswordRecordStart, silent).empty()) {
        return std::nullopt;
    }
    const CurtainedRecord record =
        ReadCurtainedRecord(carrier.data(), Size(carrier), kMessageRecordStart, silent);
    const std::int32_t length = ReadCurtainLength(carrier.data(), Size(carrier),
                                                  kMessageRecordStart - kLengthWordBits, silent);
    const bool whole = length > 0 && RecordEnd(kMessageRecordStart, length) <= Size(carrier);
    if (record.malformed || (record.text.empty() && !whole)) {
        return std::nullopt;
    }
    return record.text;
}

TEST(CarrierIoTest, RevealAndInfoAnswerAsTheWholeCarrierRead) {
    std::mt19937 rng(2412);
    const TempDir dir;
    const std::string password = "lantern-0931";
    for (int round = 0; round < 64; ++round) {
        const Bytes carrier = GeneratedCarrier(round % 8, password, rng);
        const std::optional<std::string> expected = RevealedInMemory(carrier);
        const bool fromPipe = round % 5 == 4;
        SCOPED_TRACE(testing::Message() << "round " << round << ", size " << carrier.size()
                                        << (fromPipe ? ", from a pipe" : ""));
        const std::string path = dir / (std::to_string(round) + ".bmp");
        std::optional<FifoFeeder> feeder;
        if (fromPipe) {
            feeder.emplace(path, AsText(carrier));
        } else {
            WriteText(path, AsText(carrier));
        }
        const Finished revealed = RunTool({"reveal", path}, {.password = password});
        feeder.reset();
        if (expected) {
            EXPECT_EQ(revealed.code, 0) << revealed.err;
            EXPECT_TRUE(revealed.out == *expected) << "message differs";
        } else {
            EXPECT_EQ(revealed.code, 1);
            EXPECT_EQ(revealed.err, ErrorLine(kNoCurtainedData));
        }

        if (!fromPipe) {
            const Finished info = RunTool({"info", path}, {.password = password});
            const std::string present = round % 8 != 7 ? "present" : "none";
            EXPECT_NE(info.out.find("size: " + std::to_string(carrier.size()) + " bytes\n"),
                      std::string::npos);
            EXPECT_NE(info.out.find("password record: " + present + "\n"), std::string::npos)
                << info.out;
        }
    }
}

std::string CopiedBy(CopyRoute first, const std::string& from, const std::string& to,
                     CopyRoute& used, off_t skip = 0) {
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    const int target = ::open(to.c_str(), O_WRONLY | O_CLOEXEC);
    EXPECT_EQ(::lseek(source, skip, SEEK_SET), skip);
    EXPECT_GE(::lseek(target, 0, SEEK_END), 0);
    int error = 0;
    EXPECT_TRUE(CopyFileContents(source, target, first, used, error)) << error;
    ::close(source);
    ::close(target);
    return ReadText(to);
}

TEST(CarrierIoTest, EveryCopyRouteAndItsFallbacksCopyTheSameBytes) {
    std::mt19937 rng(77);
    const TempDir dir;
    const std::string source = dir / "source";
    const std::string target = dir / "target";
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{300007}}) {
        const std::string bytes = RandomText(size, rng, 0);
        WriteText(source, bytes);
        for (const CopyRoute first : {CopyRoute::kClone, CopyRoute::kCopyRange,
                                      CopyRoute::kSendfile, CopyRoute::kReadWrite}) {
            SCOPED_TRACE(testing::Message()
                         << "size " << size << ", first route " << static_cast<int>(first));
            CopyRoute used{};
            WriteText(target, "");
            EXPECT_TRUE(CopiedBy(first, source, target, used) == bytes);
            EXPECT_GE(used, first);
            // Onto the end of what the target holds, from the source's offset:
            // no clone can do that, so the next way must.
            WriteText(target, "head");
            const off_t skip = size > 5 ? 5 : 0;
            EXPECT_TRUE(CopiedBy(first, source, target, used, skip) ==
                        "head" + bytes.substr(static_cast<std::size_t>(skip)));
            EXPECT_NE(used, CopyRoute::kClone);
        }
    }

    // Across file systems the kernel may refuse to copy a range (EXDEV);
    // a memory file system against the test folder's shows it.
    struct stat shm {};
    struct stat here {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(dir.Path().c_str(), &here) != 0 ||
        shm.st_dev == here.st_dev || ::access("/dev/shm", W_OK) != 0) {
        GTEST_SKIP() << "no second file system to copy across";
    }
    const std::string bytes = RandomText(200003, rng, 0);
    std::string elsewhere = "/dev/shm/veilnote-copy-XXXXXX";
    ::close(::mkstemp(elsewhere.data()));
    WriteText(elsewhere, bytes);
    for (const auto& [from, to] : {std::pair{elsewhere, target}, std::pair{source, elsewhere}}) {
        WriteText(source, bytes);
        WriteText(to, "");
        CopyRoute used{};
        EXPECT_TRUE(CopiedBy(CopyRoute::kClone, from, to, used) == bytes) << from << " " << to;
        EXPECT_NE(used, CopyRoute::kClone);
    }
    std::filesystem::remove(elsewhere);
}

}  // namespace
