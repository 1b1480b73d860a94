/*
 * A C caller of KXPrintIF.dll, built like the counter programs that use it: the public header
 * compiled as C (and as C++ in CppCaller.cpp), linked through the import library, the DLL
 * loaded at start. Drives every printer command against a capture printer on loopback and every
 * security function on the known-answer vectors. Prints each failure; the exit status is the
 * number of failures.
 */
#include <winsock2.h> /* brings windows.h after its own declarations */

#include <stdio.h>
#include <string.h>

#include "KXPrintIF.h"

static int failures;

#define CHECK(condition, ...)                               \
    do {                                                    \
        if (!(condition)) {                                 \
            ++failures;                                     \
            fprintf(stderr, "%s:%d: ", __FILE__, __LINE__); \
            fprintf(stderr, __VA_ARGS__);                   \
            fputc('\n', stderr);                            \
        }                                                   \
    } while (0)

/* ---- Bytes ------------------------------------------------------------------------------- */

typedef struct Bytes {
    unsigned char data[4096];
    int length;
} Bytes;

static void Append(Bytes* to, const void* data, int length) {
    memcpy(to->data + to->length, data, (size_t)length);
    to->length += length;
}

static void PrintHex(const char* label, const unsigned char* data, int length) {
    fprintf(stderr, "  %s:", label);
    for (int i = 0; i < length; ++i) {
        fprintf(stderr, " %02X", data[i]);
    }
    fputc('\n', stderr);
}

static void CheckSame(const char* what, const Bytes* got, const Bytes* expected) {
    const int same = got->length == expected->length &&
                     memcmp(got->data, expected->data, (size_t)got->length) == 0;
    CHECK(same, "%s: other bytes than expected", what);
    if (!same) {
        PrintHex("got", got->data, got->length);
        PrintHex("expected", expected->data, expected->length);
    }
}

/* Hexadecimal text (spaces allowed) to bytes; returns the byte count. */
static int FromHex(const char* hex, unsigned char* out) {
    int n = 0;
    for (; *hex != '\0'; ++hex) {
        unsigned int byte;
        if (*hex == ' ') {
            continue;
        }
        sscanf(hex, "%2x", &byte);
        out[n++] = (unsigned char)byte;
        ++hex;
    }
    return n;
}

static void CheckHex(const char* what, const unsigned char* got, const char* expectedHex) {
    unsigned char expected[256];
    const int n = FromHex(expectedHex, expected);
    CHECK(memcmp(got, expected, (size_t)n) == 0, "%s: other bytes than %s", what, expectedHex);
    if (memcmp(got, expected, (size_t)n) != 0) {
        PrintHex("got", got, n);
    }
}

/* ---- A capture printer on loopback: takes one connection and keeps every byte ------------ */

typedef struct Capture {
    SOCKET listener;
    int port;
    HANDLE thread;
    Bytes received;
} Capture;

static DWORD WINAPI CaptureOneConnection(LPVOID argument) {
    Capture* capture = argument;
    SOCKET connection = accept(capture->listener, NULL, NULL);
    if (connection == INVALID_SOCKET) {
        return 1;
    }
    Bytes* to = &capture->received;
    int n;
    while ((n = recv(connection, (char*)to->data + to->length, (int)sizeof to->data - to->length,
                     0)) > 0) {
        to->length += n;
    }
    closesocket(connection);
    return 0;
}

static SOCKET LoopbackListener(int* port) {
    struct sockaddr_in address = {0};
    int size = sizeof address;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s == INVALID_SOCKET || bind(s, (struct sockaddr*)&address, sizeof address) != 0 ||
        listen(s, 1) != 0 || getsockname(s, (struct sockaddr*)&address, &size) != 0) {
        fprintf(stderr, "no loopback listener: %d\n", WSAGetLastError());
        ExitProcess(100);
    }
    *port = ntohs(address.sin_port);
    return s;
}

/* A printer that goes away: takes one connection and resets it at once. */
static DWORD WINAPI ResetOneConnection(LPVOID argument) {
    Capture* capture = argument;
    struct linger reset = {1, 0};
    SOCKET connection = accept(capture->listener, NULL, NULL);
    if (connection == INVALID_SOCKET) {
        return 1;
    }
    setsockopt(connection, SOL_SOCKET, SO_LINGER, (const char*)&reset, sizeof reset);
    closesocket(connection);
    return 0;
}

static void CaptureStart(Capture* capture, LPTHREAD_START_ROUTINE printer) {
    memset(capture, 0, sizeof *capture);
    capture->listener = LoopbackListener(&capture->port);
    capture->thread = CreateThread(NULL, 0, printer, capture, 0, NULL);
}

/* Waits until the printer side has closed the connection. */
static void CaptureFinish(Capture* capture) {
    CHECK(WaitForSingleObject(capture->thread, 10000) == WAIT_OBJECT_0,
          "the connection to the capture printer was not closed");
    CloseHandle(capture->thread);
    closesocket(capture->listener);
}

/* A loopback port where nothing listens. */
static int ClosedPort(void) {
    int port;
    closesocket(LoopbackListener(&port));
    return port;
}

static PrinterParam NetworkPrinter(int port) {
    PrinterParam param = {PRINTER_MODE_NET, "127.0.0.1", port};
    return param;
}

/* ---- Printer commands -------------------------------------------------------------------- */

/* Calls a command, checks its result and records the bytes it should have sent. */
#define SENDS(expected, call, result, literal)                                                 \
    do {                                                                                       \
        const int32_t got = (call);                                                            \
        CHECK(got == (result), "%s returned %d, expected %d", #call, (int)got, (int)(result)); \
        Append(expected, literal, (int)sizeof(literal) - 1);                                   \
    } while (0)

static const char kReceiptText[] = "\xCA\xD5\xD2\xF8 1\n"; /* "收银 1" in GBK, and a line feed */

static void TestNetworkPrinter(void) {
    Capture capture;
    Bytes expected = {{0}, 0};
    CaptureStart(&capture, CaptureOneConnection);
    /* The high 16 bits of the port are ignored. */
    CHECK(KXOpenPrinter(NetworkPrinter(capture.port | 0x50000)) == 1, "network open failed");
    SENDS(&expected, KXPrinterInit(), 2, "\x1B\x40");
    SENDS(&expected, KXPrinterLF(), 1, "\x0A");
    SENDS(&expected, KXPrinterNLine(300), 3, "\x1B\x64\x2C");
    SENDS(&expected, KXPrinterAlign(2), 3, "\x1B\x61\x02");
    SENDS(&expected, KXPrinterAlign(3), 0, "");
    SENDS(&expected, KXPrinterAlign(-1), 0, "");
    SENDS(&expected, KXPrinterBold(0), 3, "\x1B\x47\x00");
    SENDS(&expected, KXPrinterBold(2), 0, "");
    SENDS(&expected, KXPrinterFontSize(2, 17), 3, "\x1D\x21\x31");
    SENDS(&expected, KXPrinterFontSize(7, 7), 3, "\x1D\x21\x77");
    SENDS(&expected, KXPrinterCutPaper(1), 3, "\x1D\x56\x30");
    SENDS(&expected, KXPrinterCutPaper(0x100), 3, "\x1D\x56\x31");
    SENDS(&expected, KXPrinterCtrMoneyBox(0, 25, 250), 5, "\x1B\x70\x00\x19\xFA");
    SENDS(&expected, KXPrinterInfo(kReceiptText, 7), 1, kReceiptText);
    SENDS(&expected, KXReadPrinterInfo(1, 2), 0, "");
    CHECK(KXClosePrinter() == 0, "closing a network printer returns 0");
    CaptureFinish(&capture);
    CheckSame("network print job", &capture.received, &expected);

    CHECK(KXPrinterLF() == 0, "a command after the close returned non-zero");
    CHECK(KXClosePrinter() == 0, "a second close returned non-zero");
}

/* The printer closes the connection in the middle of a job: the send that fails closes it on our
 * side too, without harm to the program, and later commands send nothing. */
static void TestPrinterClosingTheConnection(void) {
    static char page[4096];
    Capture printer;
    int sent = 0;
    CaptureStart(&printer, ResetOneConnection);
    CHECK(KXOpenPrinter(NetworkPrinter(printer.port)) == 1, "network open failed");
    CaptureFinish(&printer);
    memset(page, 'x', sizeof page);
    while (sent < 100 && KXPrinterInfo(page, (int32_t)sizeof page) == 1) {
        ++sent;
    }
    CHECK(sent < 100, "sends on a reset connection kept succeeding");
    CHECK(KXPrinterLF() == 0, "a command after the failed send returned non-zero");
    CHECK(KXClosePrinter() == 0, "closing a network printer returns 0");
}

/* The USB printer is a stand-in file, named as JsUsbDll expects; it must exist beforehand. */
static void TestUsbPrinter(void) {
    static const char kStandIn[] = "usb-printer.bin";
    Bytes expected = {{0}, 0};
    Bytes written = {{0}, 0};
    PrinterParam usb = {PRINTER_MODE_USB, "", 0};
    FILE* file = fopen(kStandIn, "wb");
    CHECK(file != NULL && fclose(file) == 0, "cannot create %s", kStandIn);
    SetEnvironmentVariableA("KXPRINTIF_USB_DEVICE", kStandIn);
    CHECK(KXOpenPrinter(usb) == 1, "USB open failed");
    SENDS(&expected, KXPrinterInit(), 2, "\x1B\x40");
    SENDS(&expected, KXPrinterLF(), 1, "\x0A");
    SENDS(&expected, KXPrinterNLine(3), 3, "\x1B\x64\x03");
    SENDS(&expected, KXPrinterAlign(1), 3, "\x1B\x61\x01");
    SENDS(&expected, KXPrinterBold(1), 3, "\x1B\x47\x01");
    SENDS(&expected, KXPrinterFontSize(1, 1), 3, "\x1D\x21\x11");
    SENDS(&expected, KXPrinterCutPaper(0), 3, "\x1D\x56\x31");
    SENDS(&expected, KXPrinterCtrMoneyBox(1, 50, 100), 5, "\x1B\x70\x01\x32\x64");
    SENDS(&expected, KXPrinterInfo(kReceiptText, 7), 7, kReceiptText);
    SENDS(&expected, KXReadPrinterInfo(0, 0), 0, "");
    CHECK(KXClosePrinter() == 1, "closing an open USB printer returns 1");
    CHECK(KXClosePrinter() == 0, "a second USB close returned non-zero");
    CHECK(KXPrinterLF() == 0, "a command after the USB close returned non-zero");
    SetEnvironmentVariableA("KXPRINTIF_USB_DEVICE", NULL);

    file = fopen(kStandIn, "rb");
    if (file != NULL) {
        written.length = (int)fread(written.data, 1, sizeof written.data, file);
        fclose(file);
    }
    CheckSame("USB print job", &written, &expected);
    remove(kStandIn);
}

static void TestNetworkTestPrint(void) {
    Capture capture;
    Bytes expected = {{0}, 0};
    CaptureStart(&capture, CaptureOneConnection);
    CHECK(KXSocketPrinterTest(NetworkPrinter(capture.port), "TEST", 4) == 1, "test print failed");
    CaptureFinish(&capture);
    Append(&expected, "TEST\n\n\n", 7);
    CheckSame("network test print", &capture.received, &expected);

    CHECK(KXSocketPrinterTest(NetworkPrinter(ClosedPort()), "TEST", 4) == 0,
          "test print with no printer listening returned non-zero");
}

static void TestNoPrinter(void) {
    CHECK(KXOpenPrinter(NetworkPrinter(ClosedPort())) == 0, "open with no printer listening");
    CHECK(KXPrinterInit() == 0, "a command after a failed open returned non-zero");
    static const int32_t kNoModes[] = {0, -2, 1};
    for (size_t i = 0; i < sizeof kNoModes / sizeof kNoModes[0]; ++i) {
        const int32_t mode = kNoModes[i];
        PrinterParam param = {mode, "", 0};
        CHECK(KXOpenPrinter(param) == 0, "open in mode %d returned non-zero", (int)mode);
        CHECK(KXPrinterInit() == 0, "a command in mode %d returned non-zero", (int)mode);
        CHECK(KXClosePrinter() == 0, "close in mode %d returned non-zero", (int)mode);
    }
}

/* ---- Security functions ------------------------------------------------------------------ */

static void TestDes(void) {
    static const char* const kVectors[][3] = {
        /* key, plaintext, ciphertext */
        {"10316E028C8F3B4A", "0000000000000000", "82DCBAFBDEAB6602"},
        {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
        {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
        {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
        {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"}};
    for (size_t i = 0; i < sizeof kVectors / sizeof kVectors[0]; ++i) {
        unsigned char key[8], plain[8], out[8];
        FromHex(kVectors[i][0], key);
        FromHex(kVectors[i][1], plain);
        SEC_DES_Calc(plain, out, key, 2); /* any non-zero flag encrypts */
        CheckHex("SEC_DES_Calc encrypt", out, kVectors[i][2]);
        for (int b = 0; b < 8; ++b) {
            key[b] ^= 0x01; /* parity bits have no effect */
        }
        FromHex(kVectors[i][2], out);
        SEC_DES_Calc(out, out, key, 0);
        CheckHex("SEC_DES_Calc decrypt in place", out, kVectors[i][1]);
    }

    /* Rivest's self-test chains sixteen operations through keys, data and both directions. */
    unsigned char x[8];
    FromHex("9474B8E8C73BCA7D", x);
    for (int i = 0; i < 16; ++i) {
        unsigned char key[8];
        memcpy(key, x, 8);
        SEC_DES_Calc(x, x, key, i % 2 == 0);
    }
    CheckHex("DES self-test X16", x, "1B1A2DDB4C642438");
}

static void TestTripleDes(void) {
    unsigned char key[16], in[32], out[32], iv[8];

    /* Two-key triple DES, NIST CAVP TECBMMT2. */
    FromHex("259DF16E7AF804FE 83B90E9BF7C7E557", key);
    FromHex("A4619C433BBD6787 C07C81728F9AC9FA", in);
    SEC_3DES_ECB_Calc(in, 16, out, key, 1);
    CheckHex("SEC_3DES_ECB_Calc encrypt", out, "9E06DE155C483C6B CFD834DBC8BD5830");
    FromHex("151F10383D6D199B 4A763BD54A46A445", key);
    FromHex("89321BA75BA545DB", in);
    SEC_3DES_Calc(in, out, key, 0);
    CheckHex("SEC_3DES_Calc decrypt", out, "D8DA89298878ED7D");
    FromHex("9B397EBF81B1181E 282F4BB8ADBADC6B", key);
    FromHex("21E81B7ADE88A259", in);
    SEC_3DES_Calc(in, in, key, 1);
    CheckHex("SEC_3DES_Calc encrypt in place", in, "5C577D4D9B20C0F8");

    /* With K1 = K2 triple DES is single DES: the FIPS 81 examples. */
    FromHex("0123456789ABCDEF 0123456789ABCDEF", key);
    FromHex("1234567890ABCDEF", iv);
    const int n = FromHex("4E6F772069732074 68652074696D6520 666F7220616C6C20", in);
    SEC_3DES_ECB_Calc(in, (uint32_t)n, out, key, 1);
    CheckHex("SEC_3DES_ECB_Calc FIPS 81", out,
             "3FA40E8A984D4815 6A271787AB8883F9 893D51EC4B563B53");
    SEC_3DES_CBC_Calc(iv, in, (uint32_t)n, out, key, 1);
    CheckHex("SEC_3DES_CBC_Calc encrypt", out,
             "E5C7CDDE872BF27C 43E934008C389C0F 683788499A7C05F6");
    CheckHex("SEC_3DES_CBC_Calc leaves the IV", iv, "1234567890ABCDEF");
    unsigned char back[32];
    SEC_3DES_CBC_Calc(iv, out, (uint32_t)n, back, key, 0);
    CheckHex("SEC_3DES_CBC_Calc decrypt", back,
             "4E6F772069732074 68652074696D6520 666F7220616C6C20");

    /* Whole blocks only: a tail is neither processed nor copied, less than a block writes nothing.
     */
    memset(out, 0xEE, sizeof out);
    SEC_3DES_ECB_Calc(in, 13, out, key, 1);
    CheckHex("SEC_3DES_ECB_Calc length 13", out, "3FA40E8A984D4815 EEEEEEEEEE");
    memset(out, 0xEE, sizeof out);
    SEC_3DES_CBC_Calc(iv, in, 7, out, key, 1);
    CheckHex("SEC_3DES_CBC_Calc length 7", out, "EEEEEEEEEEEEEEEE");
}

static void TestMd5(void) {
    static const char* const kVectors[][2] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890"
         "1234567890"
         "1234567890"
         "1234567890"
         "1234567890"
         "1234567890"
         "1234567890"
         "1234567890",
         "57edf4a22be3c955ac49da2e2107b67a"}};
    for (size_t i = 0; i < sizeof kVectors / sizeof kVectors[0]; ++i) {
        unsigned char digest[16];
        SEC_MD5_Calcu((const unsigned char*)kVectors[i][0], (uint32_t)strlen(kVectors[i][0]),
                      digest);
        CheckHex(kVectors[i][0], digest, kVectors[i][1]);
    }
}

typedef void(KXPRINTIF_CALL* PaddingFn)(const unsigned char*, uint32_t, unsigned char*, uint32_t*,
                                        int32_t);

#define PADDING(function) #function, function

static void TestPadding(void) {
    static const struct {
        const char* name;
        PaddingFn pad;
        const char* input;
        int32_t force;
        const char* padded;
    } kCases[] = {
        {PADDING(SEC_Padding_With_80), "616263", 0, "616263 8000000000"},
        {PADDING(SEC_Padding_With_80), "616263", 1, "616263 8000000000"},
        {PADDING(SEC_Padding_With_80), "0102030405060708", 0, "0102030405060708"},
        {PADDING(SEC_Padding_With_80), "0102030405060708", 1, "0102030405060708 8000000000000000"},
        {PADDING(SEC_Padding_With_80), "", 0, ""},
        {PADDING(SEC_Padding_With_80), "", 1, "8000000000000000"},
        {PADDING(SEC_Padding_With_80), "01020304050607", 0, "01020304050607 80"},
        {PADDING(SEC_Padding_With_Len), "616263", 0, "616263 0505050505"},
        {PADDING(SEC_Padding_With_Len), "0102030405060708", 0, "0102030405060708"},
        {PADDING(SEC_Padding_With_Len), "0102030405060708", 1, "0102030405060708 0808080808080808"},
        {PADDING(SEC_Padding_With_Len), "", 1, "0808080808080808"},
        {PADDING(SEC_Padding_With_Len), "01020304050607", 0, "01020304050607 01"},
    };
    for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
        unsigned char src[16], dst[32], expected[32];
        const int length = FromHex(kCases[i].input, src);
        const int paddedLength = FromHex(kCases[i].padded, expected);
        uint32_t outLength = 0xFFFFFFFF;
        memset(dst, 0xEE, sizeof dst);
        kCases[i].pad(src, (uint32_t)length, dst, &outLength, kCases[i].force);
        CHECK(outLength == (uint32_t)paddedLength, "%s case %d: out length %u, expected %d",
              kCases[i].name, (int)i, (unsigned)outLength, paddedLength);
        CHECK(memcmp(dst, expected, (size_t)paddedLength) == 0 && dst[paddedLength] == 0xEE,
              "%s case %d: other bytes than %s", kCases[i].name, (int)i, kCases[i].padded);
    }
}

/* CppCaller.cpp: the same library called from C++. */
int CppCallerFailures(void);

int main(void) {
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        fprintf(stderr, "Winsock did not start\n");
        return 100;
    }
    TestNetworkPrinter();
    TestNetworkTestPrint();
    TestPrinterClosingTheConnection();
    TestUsbPrinter();
    TestNoPrinter();
    TestDes();
    TestTripleDes();
    TestMd5();
    TestPadding();
    CHECK(CppCallerFailures() == 0, "the C++ caller saw other results");
    WSACleanup();
    if (failures == 0) {
        puts("all printer commands and security functions as documented");
    }
    return failures;
}
