// Throughput of the triple-DES ECB and MD5 exports beside OpenSSL's libcrypto on the same data,
// in the same run. scripts/bench-printif.sh prints the ratios.

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdint>
#include <random>
#include <vector>

#include "KXPrintIF.h"

namespace {

constexpr size_t kDesBytes = 1 << 20;
constexpr size_t kMd5Bytes = 16 << 20;

std::vector<uint8_t> RandomBytes(size_t count) {
    std::mt19937 random(1);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes) {
        byte = static_cast<uint8_t>(random());
    }
    return bytes;
}

const std::vector<uint8_t> kKey = RandomBytes(16);

void TripleDesEcbOurs(benchmark::State& state) {
    const std::vector<uint8_t> in = RandomBytes(kDesBytes);
    std::vector<uint8_t> out(kDesBytes);
    for (auto _ : state) {
        SEC_3DES_ECB_Calc(in.data(), kDesBytes, out.data(), kKey.data(), 1);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDesBytes));
}

void TripleDesEcbOpenSsl(benchmark::State& state) {
    const std::vector<uint8_t> in = RandomBytes(kDesBytes);
    std::vector<uint8_t> out(kDesBytes);
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(context, EVP_des_ede_ecb(), nullptr, kKey.data(), nullptr);
    EVP_CIPHER_CTX_set_padding(context, 0);
    for (auto _ : state) {
        int written = 0;
        EVP_EncryptUpdate(context, out.data(), &written, in.data(), static_cast<int>(kDesBytes));
        benchmark::DoNotOptimize(out.data());
    }
    EVP_CIPHER_CTX_free(context);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDesBytes));
}

void Md5Ours(benchmark::State& state) {
    const std::vector<uint8_t> data = RandomBytes(kMd5Bytes);
    uint8_t digest[16];
    for (auto _ : state) {
        SEC_MD5_Calcu(data.data(), kMd5Bytes, digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMd5Bytes));
}

void Md5OpenSsl(benchmark::State& state) {
    const std::vector<uint8_t> data = RandomBytes(kMd5Bytes);
    uint8_t digest[16];
    for (auto _ : state) {
        EVP_Digest(data.data(), kMd5Bytes, digest, nullptr, EVP_md5(), nullptr);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMd5Bytes));
}

}  // namespace

BENCHMARK(TripleDesEcbOurs)->Name("SEC_3DES_ECB_Calc/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(TripleDesEcbOpenSsl)->Name("SEC_3DES_ECB_Calc/openssl")->Unit(benchmark::kMillisecond);
BENCHMARK(Md5Ours)->Name("SEC_MD5_Calcu/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Md5OpenSsl)->Name("SEC_MD5_Calcu/openssl")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
