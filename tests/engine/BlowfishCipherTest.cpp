#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <stdexcept>
#include <string>

#include "BlowfishCipher.h"
#include "TestBytes.h"

namespace {

constexpr int kModes[] = {CBlowfishCipher::ECB, CBlowfishCipher::CBC, CBlowfishCipher::CFB};

CBlowfishCipher Make(const Bytes& key, BlowfishBlock initial = {}) {
    return CBlowfishCipher(key.data(), key.size(), initial);
}

Bytes RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(rng());
    }
    return bytes;
}

Bytes Encrypted(const CBlowfishCipher& cipher, const Bytes& in, int mode = CBlowfishCipher::ECB) {
    Bytes out(in.size());
    cipher.Encrypt(in.data(), out.data(), in.size(), mode);
    return out;
}

Bytes Decrypted(const CBlowfishCipher& cipher, const Bytes& in, int mode = CBlowfishCipher::ECB) {
    Bytes out(in.size());
    cipher.Decrypt(in.data(), out.data(), in.size(), mode);
    return out;
}

// Five blocks: both the four-block path and the tail take part.
const Bytes kText = RandomBytes(40, 1);

TEST(BlowfishCipher, BlocksAreBigEndianWordPairs) {
    const Bytes bytes = FromHex("0102030405F6F7F8");
    const BlowfishBlock block = LoadBlock(bytes.data());
    EXPECT_EQ(block.left, 0x01020304u);
    EXPECT_EQ(block.right, 0x05F6F7F8u);
    EXPECT_EQ(Store(block), bytes);
}

TEST(BlowfishCipher, InPlaceOnUnalignedBufferMatchesSeparateBuffers) {
    const CBlowfishCipher cipher = Make(FromHex("0123456789ABCDEF"), {0xDEADBEEF, 0x01234567});
    for (const int mode : kModes) {
        for (const std::size_t size : {8u, 32u, 72u}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + ", " + std::to_string(size) + " bytes");
            const Bytes text = RandomBytes(size, 2);
            const Bytes expected = Encrypted(cipher, text, mode);
            Bytes buffer(size + 1);
            std::copy(text.begin(), text.end(), buffer.begin() + 1);
            cipher.Encrypt(buffer.data() + 1, buffer.data() + 1, size, mode);
            EXPECT_EQ(Bytes(buffer.begin() + 1, buffer.end()), expected);
            cipher.Decrypt(buffer.data() + 1, buffer.data() + 1, size, mode);
            EXPECT_EQ(Bytes(buffer.begin() + 1, buffer.end()), text);
        }
    }
}

TEST(BlowfishCipher, ChainRestartsAtEveryCall) {
    const CBlowfishCipher cipher = Make(FromHex("F0E1D2C3"), {0x11111111, 0x22222222});
    const Bytes head(kText.begin(), kText.begin() + 16);
    const Bytes tail(kText.begin() + 16, kText.end());
    for (const int mode : {CBlowfishCipher::CBC, CBlowfishCipher::CFB}) {
        SCOPED_TRACE(mode);
        const Bytes whole = Encrypted(cipher, kText, mode);
        EXPECT_EQ(Encrypted(cipher, kText, mode), whole);

        const Bytes first = Encrypted(cipher, head, mode);
        const Bytes second = Encrypted(cipher, tail, mode);
        EXPECT_EQ(first, Bytes(whole.begin(), whole.begin() + 16));
        EXPECT_NE(second, Bytes(whole.begin() + 16, whole.end()));
        EXPECT_EQ(Decrypted(cipher, first, mode), head);
        EXPECT_EQ(Decrypted(cipher, second, mode), tail);
    }
}

TEST(BlowfishCipher, CopiesAreIndependent) {
    const Bytes expected = Encrypted(Make(AsBytes("first key")), kText);
    std::optional<CBlowfishCipher> original = Make(AsBytes("first key"));
    CBlowfishCipher copy = *original;
    original = Make(AsBytes("another key"));
    EXPECT_EQ(Encrypted(copy, kText), expected);
    EXPECT_NE(Encrypted(*original, kText), expected);
    original.reset();
    EXPECT_EQ(Decrypted(copy, expected), kText);
}

template <typename Call>
std::string ThrownMessage(Call call) {
    try {
        call();
    } catch (const std::invalid_argument& error) {
        return error.what();
    }
    return "nothing thrown";
}

TEST(BlowfishCipher, RejectsBadLengthsWithoutTouchingOutput) {
    const CBlowfishCipher cipher = Make(AsBytes("key"));
    const Bytes input(16, 0x5A);
    for (const int mode : kModes) {
        for (const std::size_t count : {0u, 12u}) {
            Bytes output(16, 0xC3);
            EXPECT_EQ(
                ThrownMessage([&] { cipher.Encrypt(input.data(), output.data(), count, mode); }),
                "Incorrect buffer length");
            EXPECT_EQ(
                ThrownMessage([&] { cipher.Decrypt(input.data(), output.data(), count, mode); }),
                "Incorrect buffer length");
            EXPECT_EQ(output, Bytes(16, 0xC3));
        }
    }
    const Bytes key(8, 1);
    EXPECT_EQ(ThrownMessage([&] { CBlowfishCipher(key.data(), 0, {}); }), "Incorrect key length");
}

TEST(BlowfishCipher, KeyIsCutTo56BytesAndTakenCyclically) {
    const Bytes longKey = RandomBytes(80, 3);
    const Bytes expected = Encrypted(Make(Bytes(longKey.begin(), longKey.begin() + 56)), kText);
    EXPECT_EQ(Encrypted(Make(Bytes(longKey.begin(), longKey.begin() + 57)), kText), expected);
    EXPECT_EQ(Encrypted(Make(longKey), kText), expected);

    for (const std::size_t length : {1u, 3u, 28u}) {
        const Bytes key(longKey.begin(), longKey.begin() + static_cast<std::ptrdiff_t>(length));
        Bytes twice = key;
        twice.insert(twice.end(), key.begin(), key.end());
        EXPECT_EQ(Encrypted(Make(twice), kText), Encrypted(Make(key), kText)) << length;
    }
}

TEST(BlowfishCipher, UnknownModesAreEcbAndCbcStartsFromTheInitialBlock) {
    const CBlowfishCipher cipher = Make(AsBytes("modes"));
    const Bytes ecb = Encrypted(cipher, kText);
    for (const int mode : {3, -1}) {
        EXPECT_EQ(Encrypted(cipher, kText, mode), ecb);
        EXPECT_EQ(Decrypted(cipher, ecb, mode), kText);
    }
    const Bytes cbc = Encrypted(cipher, kText, CBlowfishCipher::CBC);
    EXPECT_EQ(Bytes(cbc.begin(), cbc.begin() + 8), Bytes(ecb.begin(), ecb.begin() + 8));
    EXPECT_NE(cbc, ecb);
}

}  // namespace
