#include <benchmark/benchmark.h>
#include <openssl/blowfish.h>

#include <vector>

#include "BenchReport.h"
#include "BlowfishCipher.h"

namespace {

constexpr std::size_t kBufferBytes = std::size_t{1} << 20;
constexpr unsigned char kKey[16] = {'c', 'o', 'p', 'p', 'e', 'r', '7', '3',
                                    '1', '1', 'w', 'i', 'n', 'd', 'o', 'w'};

std::vector<std::uint8_t> Buffer() {
    std::vector<std::uint8_t> buffer(kBufferBytes);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        buffer[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    return buffer;
}

void SetThroughput(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kBufferBytes));
}

// Our cipher over the buffer in place, in `mode`; the initial block is the
// one OpenSSL's CBC run starts from, so both chain alike.
void Ours(benchmark::State& state, bool encrypt, int mode) {
    const CBlowfishCipher cipher(kKey, sizeof kKey, {0x01234567, 0x89ABCDEF});
    std::vector<std::uint8_t> buffer = Buffer();
    for (auto _ : state) {
        if (encrypt) {
            cipher.Encrypt(buffer.data(), buffer.data(), buffer.size(), mode);
        } else {
            cipher.Decrypt(buffer.data(), buffer.data(), buffer.size(), mode);
        }
        benchmark::ClobberMemory();
    }
    SetThroughput(state);
}

void OursEcb(benchmark::State& state, bool encrypt) {
    Ours(state, encrypt, CBlowfishCipher::ECB);
}

void OursCbc(benchmark::State& state, bool encrypt) {
    Ours(state, encrypt, CBlowfishCipher::CBC);
}

void OpenSslEcb(benchmark::State& state, int direction) {
    BF_KEY key;
    BF_set_key(&key, sizeof kKey, kKey);
    std::vector<std::uint8_t> buffer = Buffer();
    for (auto _ : state) {
        for (std::size_t i = 0; i < buffer.size(); i += 8) {
            BF_ecb_encrypt(buffer.data() + i, buffer.data() + i, &key, direction);
        }
        benchmark::ClobberMemory();
    }
    SetThroughput(state);
}

void OpenSslCbc(benchmark::State& state, int direction) {
    BF_KEY key;
    BF_set_key(&key, sizeof kKey, kKey);
    std::vector<std::uint8_t> buffer = Buffer();
    for (auto _ : state) {
        unsigned char iv[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
        BF_cbc_encrypt(buffer.data(), buffer.data(), static_cast<long>(buffer.size()), &key, iv,
                       direction);
        benchmark::ClobberMemory();
    }
    SetThroughput(state);
}

void OursKeySetup(benchmark::State& state) {
    for (auto _ : state) {
        const CBlowfishCipher cipher(kKey, sizeof kKey, {});
        benchmark::DoNotOptimize(&cipher);
    }
}

void OpenSslKeySetup(benchmark::State& state) {
    BF_KEY key;
    for (auto _ : state) {
        BF_set_key(&key, sizeof kKey, kKey);
        benchmark::DoNotOptimize(&key);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto add = [](const char* name, auto&&... arguments) {
        benchmark::RegisterBenchmark(name, arguments...)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
    };
    add("ecb_encrypt/ours", OursEcb, true);
    add("ecb_encrypt/openssl", OpenSslEcb, BF_ENCRYPT);
    add("ecb_decrypt/ours", OursEcb, false);
    add("ecb_decrypt/openssl", OpenSslEcb, BF_DECRYPT);
    add("cbc_encrypt/ours", OursCbc, true);
    add("cbc_encrypt/openssl", OpenSslCbc, BF_ENCRYPT);
    add("cbc_decrypt/ours", OursCbc, false);
    add("cbc_decrypt/openssl", OpenSslCbc, BF_DECRYPT);
    add("key_setup/ours", OursKeySetup);
    add("key_setup/openssl", OpenSslKeySetup);

    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // Same work per iteration on both sides, so the time ratio is the
    // throughput ratio.
    PrintRatio(reporter, "ECB throughput ratio (ours/OpenSSL)", "ecb_encrypt/ours",
               "ecb_encrypt/openssl");
    PrintRatio(reporter, "ECB decrypt throughput ratio (ours/OpenSSL)", "ecb_decrypt/ours",
               "ecb_decrypt/openssl");
    PrintRatio(reporter, "CBC decrypt throughput ratio (ours/OpenSSL)", "cbc_decrypt/ours",
               "cbc_decrypt/openssl");
    PrintRatio(reporter, "Key set-up ratio (OpenSSL time/ours)", "key_setup/ours",
               "key_setup/openssl");
    return 0;
}
