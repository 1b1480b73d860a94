/* A C program using KXPrintIF through its header, compiled as C: the header must be valid C and
 * the library callable from C. Exits non-zero on the first wrong answer. */
#include <stdio.h>
#include <string.h>

#include "KXPrintIF.h"

static int failures = 0;

static void Check(int ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "wrong: %s\n", what);
        ++failures;
    }
}

int main(void) {
    static const unsigned char key[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    static const unsigned char plain[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    static const unsigned char cipher[8] = {0x85, 0xE8, 0x13, 0x54, 0x0F, 0x0A, 0xB4, 0x05};
    static const unsigned char abcDigest[16] = {0x90, 0x01, 0x50, 0x98, 0x3C, 0xD2, 0x4F, 0xB0,
                                                0xD6, 0x96, 0x3F, 0x7D, 0x28, 0xE1, 0x7F, 0x72};
    unsigned char out[16];
    unsigned char padded[16];
    uint32_t paddedLength = 0;
    PrinterParam param;

    SEC_DES_Calc(plain, out, key, 1);
    Check(memcmp(out, cipher, 8) == 0, "SEC_DES_Calc");
    SEC_MD5_Calcu((const unsigned char*)"abc", 3, out);
    Check(memcmp(out, abcDigest, 16) == 0, "SEC_MD5_Calcu");
    SEC_Padding_With_80((const unsigned char*)"abc", 3, padded, &paddedLength, 0);
    Check(paddedLength == 8 && padded[3] == 0x80 && padded[7] == 0, "SEC_Padding_With_80");

    memset(&param, 0, sizeof(param));
    param.mode = -2;
    Check(KXOpenPrinter(param) == 0, "KXOpenPrinter with mode -2");
    Check(KXPrinterInit() == 0, "KXPrinterInit with no printer");
    Check(KXClosePrinter() == 0, "KXClosePrinter with no printer");
    Check(KXReadPrinterInfo(0, 0) == 0, "KXReadPrinterInfo");

    if (failures == 0) {
        printf("KXPrintIF called from C: all answers right\n");
    }
    return failures == 0 ? 0 : 1;
}
