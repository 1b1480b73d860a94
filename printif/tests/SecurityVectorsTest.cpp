// The security exports against the published known answers and the agreed edge cases, through
// the C interface of the library.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Hex.h"
#include "KXPrintIF.h"

namespace kx::test {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Des(const Bytes& in, const Bytes& key, int32_t flag) {
    Bytes out(8);
    SEC_DES_Calc(in.data(), out.data(), key.data(), flag);
    return out;
}

Bytes TripleDes(const Bytes& in, const Bytes& key, int32_t flag) {
    Bytes out(8);
    SEC_3DES_Calc(in.data(), out.data(), key.data(), flag);
    return out;
}

Bytes Ecb(const Bytes& in, const Bytes& key, int32_t flag) {
    Bytes out(in.size() / 8 * 8);
    SEC_3DES_ECB_Calc(in.data(), static_cast<uint32_t>(in.size()), out.data(), key.data(), flag);
    return out;
}

Bytes Cbc(const Bytes& iv, const Bytes& in, const Bytes& key, int32_t flag) {
    Bytes out(in.size() / 8 * 8);
    SEC_3DES_CBC_Calc(iv.data(), in.data(), static_cast<uint32_t>(in.size()), out.data(),
                      key.data(), flag);
    return out;
}

std::string Md5(const std::string& text) {
    uint8_t digest[16];
    SEC_MD5_Calcu(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()),
                  digest);
    return ToHex(digest, 16);
}

Bytes Twice(const Bytes& key) {
    Bytes doubled = key;
    doubled.insert(doubled.end(), key.begin(), key.end());
    return doubled;
}

TEST(DesTest, KnownAnswersBothWays) {
    struct Vector {
        const char *key, *plain, *cipher;
    };
    const Vector vectors[] = {
        {"10316E028C8F3B4A", "0000000000000000", "82DCBAFBDEAB6602"},
        {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
        {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
        {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
        {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    };
    for (const Vector& v : vectors) {
        EXPECT_EQ(ToHex(Des(FromHex(v.plain), FromHex(v.key), 1)), v.cipher) << v.key;
        EXPECT_EQ(ToHex(Des(FromHex(v.cipher), FromHex(v.key), 0)), v.plain) << v.key;
    }
}

TEST(DesTest, RivestSelfTest) {
    Bytes x = FromHex("9474B8E8C73BCA7D");
    for (int i = 0; i < 16; ++i) {
        x = Des(x, x, i % 2 == 0 ? 1 : 0);
    }
    EXPECT_EQ(ToHex(x), "1B1A2DDB4C642438");
}

TEST(DesTest, ParityBitsAndFlagValue) {
    const Bytes plain = FromHex("0123456789ABCDEF");
    const Bytes key = FromHex("133457799BBCDFF1");
    const Bytes parityFlipped = FromHex("123456789ABCDEF0");  // every low bit flipped
    EXPECT_EQ(ToHex(Des(plain, parityFlipped, 1)), "85E813540F0AB405");
    EXPECT_EQ(Des(plain, key, 2), Des(plain, key, 1));
    EXPECT_EQ(Des(plain, key, -1), Des(plain, key, 1));
}

TEST(DesTest, InPlace) {
    Bytes block = FromHex("0123456789ABCDEF");
    const Bytes key = FromHex("133457799BBCDFF1");
    SEC_DES_Calc(block.data(), block.data(), key.data(), 1);
    EXPECT_EQ(ToHex(block), "85E813540F0AB405");
    SEC_3DES_Calc(block.data(), block.data(), Twice(key).data(), 0);
    EXPECT_EQ(ToHex(block), "0123456789ABCDEF");
}

TEST(TripleDesTest, TwoKeyKnownAnswers) {
    EXPECT_EQ(ToHex(Ecb(FromHex("A4619C433BBD6787 C07C81728F9AC9FA"),
                        FromHex("259DF16E7AF804FE 83B90E9BF7C7E557"), 1)),
              "9E06DE155C483C6BCFD834DBC8BD5830");
    EXPECT_EQ(ToHex(TripleDes(FromHex("89321BA75BA545DB"),
                              FromHex("151F10383D6D199B 4A763BD54A46A445"), 0)),
              "D8DA89298878ED7D");
    const Bytes key = FromHex("9B397EBF81B1181E 282F4BB8ADBADC6B");
    EXPECT_EQ(ToHex(TripleDes(FromHex("21E81B7ADE88A259"), key, 1)), "5C577D4D9B20C0F8");
    EXPECT_EQ(ToHex(TripleDes(FromHex("5C577D4D9B20C0F8"), key, 0)), "21E81B7ADE88A259");
}

TEST(TripleDesTest, EqualHalvesGiveSingleDes) {
    const Bytes key = FromHex("0123456789ABCDEF");
    const Bytes text = FromHex("4E6F772069732074 68652074696D6520 666F7220616C6C20");
    EXPECT_EQ(TripleDes(Bytes(text.begin(), text.begin() + 8), Twice(key), 1),
              Des(Bytes(text.begin(), text.begin() + 8), key, 1));
    // FIPS 81 through the triple-DES modes with K1 = K2.
    EXPECT_EQ(ToHex(Ecb(text, Twice(key), 1)), "3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53");
    EXPECT_EQ(ToHex(Cbc(FromHex("1234567890ABCDEF"), text, Twice(key), 1)),
              "E5C7CDDE872BF27C43E934008C389C0F683788499A7C05F6");
    EXPECT_EQ(Cbc(FromHex("1234567890ABCDEF"),
                  FromHex("E5C7CDDE872BF27C43E934008C389C0F683788499A7C05F6"), Twice(key), 0),
              text);
}

TEST(TripleDesTest, TailsAreLeftUntouched) {
    const Bytes key = FromHex("259DF16E7AF804FE 83B90E9BF7C7E557");
    const Bytes iv = FromHex("1234567890ABCDEF");
    const Bytes in(13, 0x5A);
    for (int mode = 0; mode < 2; ++mode) {
        for (uint32_t length : {13u, 7u, 0u}) {
            Bytes out(13, 0xEE);
            if (mode == 0) {
                SEC_3DES_ECB_Calc(in.data(), length, out.data(), key.data(), 1);
            } else {
                SEC_3DES_CBC_Calc(iv.data(), in.data(), length, out.data(), key.data(), 1);
            }
            const size_t written = length / 8 * 8;
            EXPECT_EQ(Bytes(out.begin() + written, out.end()), Bytes(13 - written, 0xEE))
                << "mode " << mode << " length " << length;
            if (written != 0) {
                EXPECT_NE(Bytes(out.begin(), out.begin() + written), Bytes(written, 0xEE));
            }
        }
    }
}

TEST(TripleDesTest, CbcChainsFromIvAndLeavesItUnchanged) {
    const Bytes key = FromHex("259DF16E7AF804FE 83B90E9BF7C7E557");
    const Bytes iv = FromHex("1234567890ABCDEF");
    const Bytes ivCopy = iv;
    const Bytes in = FromHex("A4619C433BBD6787 C07C81728F9AC9FA");
    const Bytes out = Cbc(iv, in, key, 1);
    EXPECT_EQ(iv, ivCopy);
    Bytes firstXorIv(8);
    for (int i = 0; i < 8; ++i) {
        firstXorIv[i] = in[i] ^ iv[i];
    }
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 8), TripleDes(firstXorIv, key, 1));
    EXPECT_EQ(Cbc(iv, out, key, 0), in);
}

TEST(TripleDesTest, EcbAndCbcWorkInPlaceBothWays) {
    const Bytes key = FromHex("259DF16E7AF804FE 83B90E9BF7C7E557");
    const Bytes iv = FromHex("1234567890ABCDEF");
    const Bytes plain = FromHex("00112233445566778899AABBCCDDEEFF0123456789ABCDEF");
    Bytes buffer = plain;
    const uint32_t length = static_cast<uint32_t>(buffer.size());
    SEC_3DES_ECB_Calc(buffer.data(), length, buffer.data(), key.data(), 1);
    EXPECT_EQ(buffer, Ecb(plain, key, 1));
    SEC_3DES_ECB_Calc(buffer.data(), length, buffer.data(), key.data(), 0);
    EXPECT_EQ(buffer, plain);
    SEC_3DES_CBC_Calc(iv.data(), buffer.data(), length, buffer.data(), key.data(), 1);
    EXPECT_EQ(buffer, Cbc(iv, plain, key, 1));
    SEC_3DES_CBC_Calc(iv.data(), buffer.data(), length, buffer.data(), key.data(), 0);
    EXPECT_EQ(buffer, plain);
}

TEST(Md5Test, Rfc1321Suite) {
    EXPECT_EQ(Md5(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(Md5("a"), "0CC175B9C0F1B6A831C399E269772661");
    EXPECT_EQ(Md5("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(Md5("message digest"), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(Md5("abcdefghijklmnopqrstuvwxyz"), "C3FCD3D76192E4007DFB496CCA67E13B");
    EXPECT_EQ(Md5("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    std::string digits;
    for (int i = 0; i < 8; ++i) {
        digits += "1234567890";
    }
    EXPECT_EQ(Md5(digits), "57EDF4A22BE3C955AC49DA2E2107B67A");
}

struct PaddingCase {
    const char* what;
    Bytes src;
    int32_t force;
    const char* with80;
    const char* withLength;
};

TEST(PaddingTest, BothPaddings) {
    const Bytes eight = FromHex("0001020304050607");
    const PaddingCase cases[] = {
        {"abc", FromHex("616263"), 0, "6162638000000000", "6162630505050505"},
        {"abc forced", FromHex("616263"), 1, "6162638000000000", "6162630505050505"},
        {"eight", eight, 0, "0001020304050607", "0001020304050607"},
        {"eight forced", eight, 1, "00010203040506078000000000000000",
         "00010203040506070808080808080808"},
        {"empty", {}, 0, "", ""},
        {"empty forced", {}, 1, "8000000000000000", "0808080808080808"},
        {"seven", FromHex("00010203040506"), 0, "0001020304050680", "0001020304050601"},
    };
    using PadFunction =
        void(KXPRINTIF_CALL*)(const unsigned char*, uint32_t, unsigned char*, uint32_t*, int32_t);
    for (const PaddingCase& c : cases) {
        for (auto [pad, expected] :
             {std::pair<PadFunction, const char*>{SEC_Padding_With_80, c.with80},
              {SEC_Padding_With_Len, c.withLength}}) {
            Bytes dst(c.src.size() + 8, 0xEE);
            uint32_t outLength = 12345;
            pad(c.src.data(), static_cast<uint32_t>(c.src.size()), dst.data(), &outLength, c.force);
            const std::string want = expected;
            ASSERT_EQ(outLength, want.size() / 2) << c.what;
            EXPECT_EQ(ToHex(dst.data(), outLength), want) << c.what;
            EXPECT_EQ(Bytes(dst.begin() + outLength, dst.end()),
                      Bytes(dst.size() - outLength, 0xEE))
                << c.what << ": written past the padding";
        }
    }
}

TEST(PaddingTest, InPlace) {
    Bytes buffer = {'a', 'b', 'c', 0, 0, 0, 0, 0, 0, 0, 0};
    uint32_t outLength = 0;
    SEC_Padding_With_Len(buffer.data(), 3, buffer.data(), &outLength, 0);
    EXPECT_EQ(outLength, 8u);
    EXPECT_EQ(ToHex(buffer.data(), 8), "6162630505050505");
}

TEST(SecurityTest, NullPointersDoNothing) {
    const Bytes key(16, 1);
    const Bytes in(16, 2);
    Bytes out(16, 0xEE);
    uint32_t outLength = 77;
    SEC_DES_Calc(nullptr, out.data(), key.data(), 1);
    SEC_DES_Calc(in.data(), nullptr, key.data(), 1);
    SEC_DES_Calc(in.data(), out.data(), nullptr, 1);
    SEC_3DES_Calc(in.data(), out.data(), nullptr, 1);
    SEC_3DES_ECB_Calc(nullptr, 16, out.data(), key.data(), 1);
    SEC_3DES_ECB_Calc(in.data(), 16, out.data(), nullptr, 0);
    SEC_3DES_CBC_Calc(nullptr, in.data(), 16, out.data(), key.data(), 1);
    SEC_3DES_CBC_Calc(in.data(), in.data(), 16, nullptr, key.data(), 0);
    SEC_MD5_Calcu(nullptr, 3, out.data());
    SEC_MD5_Calcu(in.data(), 3, nullptr);
    SEC_Padding_With_80(nullptr, 3, out.data(), &outLength, 1);
    SEC_Padding_With_80(in.data(), 3, out.data(), nullptr, 1);
    SEC_Padding_With_Len(in.data(), 3, nullptr, &outLength, 1);
    EXPECT_EQ(out, Bytes(16, 0xEE));
    EXPECT_EQ(outLength, 77u);

    // Empty input needs no pointer.
    SEC_MD5_Calcu(nullptr, 0, out.data());
    EXPECT_EQ(ToHex(out.data(), 16), "D41D8CD98F00B204E9800998ECF8427E");
    SEC_Padding_With_80(nullptr, 0, out.data(), &outLength, 1);
    EXPECT_EQ(outLength, 8u);
}

}  // namespace
}  // namespace kx::test
