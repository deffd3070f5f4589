// What opening a sealed message costs, against two peers measured in the same
// run: libsodium's Argon2id at its least limits, and one OpenSSL Blowfish key
// set-up (about what checking an unsealed carrier's password costs).
#include <benchmark/benchmark.h>
#include <openssl/blowfish.h>
#include <sodium.h>

#include <cstdio>
#include <optional>
#include <string>

#include "BenchReport.h"
#include "SealedMessage.h"

namespace {

constexpr const char* kPassword = "correct horse 16";
// Opening at this cost or more keeps guessing slow.
constexpr double kLeastOpenSeconds = 0.050;

void OpenSealed(benchmark::State& state) {
    const std::optional<SealedBox> box =
        ParseSealedText(SealMessage("a short message of the usual kind", kPassword));
    if (!box) {
        state.SkipWithError("sealing failed");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(OpenSealedBox(*box, kPassword));
    }
}

void LeastArgon2id(benchmark::State& state) {
    const unsigned char salt[crypto_pwhash_SALTBYTES] = {};
    unsigned char key[32];
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            crypto_pwhash(key, sizeof key, kPassword, 16, salt, crypto_pwhash_OPSLIMIT_MIN,
                          crypto_pwhash_MEMLIMIT_MIN, crypto_pwhash_ALG_ARGON2ID13));
        benchmark::ClobberMemory();
    }
}

void BlowfishKeySetup(benchmark::State& state) {
    const auto* key = reinterpret_cast<const unsigned char*>(kPassword);
    BF_KEY schedule;
    for (auto _ : state) {
        BF_set_key(&schedule, 16, key);
        benchmark::DoNotOptimize(&schedule);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (sodium_init() < 0) {
        return 1;
    }
    const auto add = [](const char* name, auto function) {
        benchmark::RegisterBenchmark(name, function)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMicrosecond);
    };
    add("open_sealed/ours", OpenSealed);
    add("argon2id_least/libsodium", LeastArgon2id);
    add("key_setup/openssl", BlowfishKeySetup);

    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // Here ours is meant to be the slow side: the ratios are our time over theirs.
    PrintRatio(reporter, "Sealed open cost ratio (ours/libsodium Argon2id at least limits)",
               "argon2id_least/libsodium", "open_sealed/ours");
    PrintRatio(reporter, "Sealed open cost ratio (ours/one OpenSSL Blowfish key set-up)",
               "key_setup/openssl", "open_sealed/ours");
    if (const auto open = reporter.seconds.find("open_sealed/ours");
        open != reporter.seconds.end()) {
        std::printf("Sealed open CPU time: %.1f ms (at least %.0f ms wanted): %s\n",
                    open->second * 1000, kLeastOpenSeconds * 1000,
                    open->second >= kLeastOpenSeconds ? "met" : "NOT MET");
    }
    return 0;
}
