// The security exports against OpenSSL's libcrypto on random keys, data and lengths, and the
// claim that they keep no state: the same answers from several threads at once.

#include <gtest/gtest.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/des.h>
#include <openssl/md5.h>

#include <algorithm>
#include <random>
#include <thread>
#include <vector>

#include "KXPrintIF.h"

namespace kx::test {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(std::mt19937& random, size_t count) {
    Bytes bytes(count);
    for (uint8_t& byte : bytes) {
        byte = static_cast<uint8_t>(random());
    }
    return bytes;
}

DES_key_schedule OpenSslSchedule(const uint8_t* key) {
    DES_cblock block;
    std::copy(key, key + 8, block);
    DES_key_schedule schedule;
    DES_set_key_unchecked(&block, &schedule);
    return schedule;
}

// OpenSSL's two-key triple DES in ECB or CBC over the whole blocks of in.
Bytes OpenSslTripleDes(const Bytes& key, const Bytes* iv, const Bytes& in, int encrypt) {
    DES_key_schedule k1 = OpenSslSchedule(key.data());
    DES_key_schedule k2 = OpenSslSchedule(key.data() + 8);
    const size_t whole = in.size() / 8 * 8;
    Bytes out(whole);
    if (iv != nullptr) {
        DES_cblock chain;
        std::copy(iv->begin(), iv->end(), chain);
        DES_ede2_cbc_encrypt(in.data(), out.data(), static_cast<long>(whole), &k1, &k2, &chain,
                             encrypt ? DES_ENCRYPT : DES_DECRYPT);
        return out;
    }
    for (size_t offset = 0; offset < whole; offset += 8) {
        DES_cblock block;
        std::copy(in.begin() + offset, in.begin() + offset + 8, block);
        DES_ecb2_encrypt(&block, reinterpret_cast<DES_cblock*>(out.data() + offset), &k1, &k2,
                         encrypt ? DES_ENCRYPT : DES_DECRYPT);
    }
    return out;
}

TEST(SecurityCrossCheckTest, SingleDesAndTripleDesBlocks) {
    std::mt19937 random(20261211);
    for (int round = 0; round < 500; ++round) {
        const Bytes key = RandomBytes(random, 16);
        const Bytes in = RandomBytes(random, 8);
        const int encrypt = round % 2;
        Bytes ours(8);
        SEC_DES_Calc(in.data(), ours.data(), key.data(), encrypt);
        DES_key_schedule schedule = OpenSslSchedule(key.data());
        Bytes theirs(8);
        DES_cblock block;
        std::copy(in.begin(), in.end(), block);
        DES_ecb_encrypt(&block, reinterpret_cast<DES_cblock*>(theirs.data()), &schedule,
                        encrypt ? DES_ENCRYPT : DES_DECRYPT);
        ASSERT_EQ(ours, theirs) << "DES round " << round;

        SEC_3DES_Calc(in.data(), ours.data(), key.data(), encrypt);
        ASSERT_EQ(ours, OpenSslTripleDes(key, nullptr, in, encrypt)) << "3DES round " << round;
    }
}

TEST(SecurityCrossCheckTest, EcbAndCbcOverRandomLengths) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const Bytes key = RandomBytes(random, 16);
        const Bytes iv = RandomBytes(random, 8);
        const Bytes in = RandomBytes(random, random() % 300);
        const int encrypt = round % 2;
        const uint32_t length = static_cast<uint32_t>(in.size());
        Bytes ours(length / 8 * 8);
        SEC_3DES_ECB_Calc(in.data(), length, ours.data(), key.data(), encrypt);
        ASSERT_EQ(ours, OpenSslTripleDes(key, nullptr, in, encrypt)) << "ECB length " << length;
        SEC_3DES_CBC_Calc(iv.data(), in.data(), length, ours.data(), key.data(), encrypt);
        ASSERT_EQ(ours, OpenSslTripleDes(key, &iv, in, encrypt)) << "CBC length " << length;
    }
}

TEST(SecurityCrossCheckTest, Md5OverRandomLengths) {
    std::mt19937 random(99);
    std::vector<size_t> lengths = {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 127, 128, 129, 1000000};
    for (int i = 0; i < 100; ++i) {
        lengths.push_back(random() % 5000);
    }
    for (size_t length : lengths) {
        const Bytes data = RandomBytes(random, length);
        uint8_t ours[16];
        uint8_t theirs[16];
        SEC_MD5_Calcu(data.data(), static_cast<uint32_t>(length), ours);
        MD5(data.data(), length, theirs);
        ASSERT_TRUE(std::equal(ours, ours + 16, theirs)) << "length " << length;
    }
}

TEST(SecurityCrossCheckTest, SameAnswersFromSeveralThreadsAtOnce) {
    // Each thread works on its own random inputs and checks them against OpenSSL computed
    // beforehand on this thread, so shared state inside the exports would show as mismatches.
    struct Job {
        Bytes key, iv, in, ecb, cbc;
        uint8_t md5[16];
    };
    std::mt19937 random(3);
    std::vector<std::vector<Job>> jobs(4);
    for (auto& threadJobs : jobs) {
        for (int i = 0; i < 200; ++i) {
            Job job;
            job.key = RandomBytes(random, 16);
            job.iv = RandomBytes(random, 8);
            job.in = RandomBytes(random, 8 * (1 + random() % 8));
            job.ecb = OpenSslTripleDes(job.key, nullptr, job.in, 1);
            job.cbc = OpenSslTripleDes(job.key, &job.iv, job.in, 0);
            MD5(job.in.data(), job.in.size(), job.md5);
            threadJobs.push_back(std::move(job));
        }
    }
    std::vector<int> mismatches(jobs.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < jobs.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int pass = 0; pass < 5; ++pass) {
                for (const Job& job : jobs[t]) {
                    const uint32_t length = static_cast<uint32_t>(job.in.size());
                    Bytes out(length);
                    SEC_3DES_ECB_Calc(job.in.data(), length, out.data(), job.key.data(), 1);
                    mismatches[t] += out != job.ecb;
                    SEC_3DES_CBC_Calc(job.iv.data(), job.in.data(), length, out.data(),
                                      job.key.data(), 0);
                    mismatches[t] += out != job.cbc;
                    uint8_t digest[16];
                    SEC_MD5_Calcu(job.in.data(), length, digest);
                    mismatches[t] += !std::equal(digest, digest + 16, job.md5);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(jobs.size(), 0));
}

}  // namespace
}  // namespace kx::test

#pragma GCC diagnostic pop
