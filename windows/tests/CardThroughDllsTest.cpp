// The card layer on Windows: kxcard.exe issues a member card and puts it on the simulated
// reader, then the real binding loads "LibaryDir\KXD101.dll" and "KXD103.dll" with LoadLibrary
// and the transactions read, debit and credit the card through them.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "DistFolder.h"
#include "card/CardDump.h"
#include "card/CardTransactions.h"
#include "card/SdkBinding.h"

namespace kx::wintest {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kSerial = 0x1A2B3C4D;
constexpr uint32_t kBalance = 10050;
constexpr uint32_t kPoints = 20;

// Runs a program of the installation and returns its exit status and standard output.
struct ProgramRun {
    DWORD status = 0;
    std::string output;
};

ProgramRun RunProgram(const fs::path& program, const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        throw std::runtime_error("no pipe");
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    ProgramRun run;
    if (started) {
        char buffer[512];
        DWORD n = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) {
            run.output.append(buffer, n);
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &run.status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(readEnd);
    if (!started) {
        throw std::runtime_error("cannot start " + program.string());
    }
    return run;
}

std::wstring Quoted(const fs::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

// A temporary installation: kxcard.exe and a copy of dist\LibaryDir, with its own reader.
class CardThroughDlls : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        installation_ = fs::temp_directory_path() / "kx_card_through_dlls";
        fs::remove_all(installation_);
        fs::create_directories(installation_ / "LibaryDir");
        for (int model = 0; model <= 4; ++model) {
            const auto dll = "KXD10" + std::to_string(model) + ".dll";
            fs::copy_file(DistFolder() / "LibaryDir" / dll, installation_ / "LibaryDir" / dll);
        }
        fs::copy_file(DistFolder() / "kxcard.exe", installation_ / "kxcard.exe");
        BindReaderSdk(installation_, kPayTerminalOps | kIncTerminalOps);
        SetTransactionPause([](int) {});
    }

    static void TearDownTestSuite() {
        SetTransactionPause(nullptr);
        std::error_code ignored;
        fs::remove_all(installation_, ignored);
    }

    void SetUp() override {
        dump_ = installation_ / "member.mfd";
        ASSERT_EQ(Kxcard(L"issue " + Quoted(dump_) +
                         L" --name Zhang --balance 100.50 --points 20 --serial 1A2B3C4D")
                      .status,
                  0u);
        ASSERT_EQ(Kxcard(L"place " + Quoted(dump_) + L" --dist " + Quoted(installation_)).status,
                  0u);
    }

    static ProgramRun Kxcard(const std::wstring& arguments) {
        return RunProgram(installation_ / "kxcard.exe", arguments);
    }

    // The value blocks 12-14 of the card file, as a read of the card would give them.
    std::array<uint32_t, 3> ValuesOnCard() const {
        std::ifstream in(dump_, std::ios::binary);
        CardDump dump{};
        in.read(reinterpret_cast<char*>(dump.data()), dump.size());
        EXPECT_EQ(in.gcount(), static_cast<std::streamsize>(dump.size()));
        return MemberCardImageFromDump(dump).Values;
    }

    static inline fs::path installation_;
    fs::path dump_;
};

TEST_F(CardThroughDlls, KxcardReadsTheMemberThroughTheDlls) {
    const ProgramRun read =
        Kxcard(L"read --dist " + Quoted(installation_) + L" --port COM2 --model KXD101");
    EXPECT_EQ(read.status, 0u);
    EXPECT_NE(read.output.find("\"MemberName\":\"Zhang\""), std::string::npos) << read.output;
    EXPECT_NE(read.output.find("\"StoreMoney\":10050"), std::string::npos) << read.output;
}

TEST_F(CardThroughDlls, ReadsOnBothCardModels) {
    for (const auto& [port, model] : {std::pair{0, "KXD103"}, std::pair{2, "KXD101"}}) {
        SCOPED_TRACE(model);
        TMemberCardImage image;
        ASSERT_EQ(ReadMemberCard(port, model, image), 0);
        EXPECT_EQ(image.Serial, kSerial);
        EXPECT_EQ(image.Values, (std::array<uint32_t, 3>{kBalance, kPoints, 0}));
        TMemberRecord record;
        EXPECT_EQ(DecodeMemberCard(image, kExpectedSchemeCode, record), TCardCheck::ccOk);
        EXPECT_EQ(record.MemberName, "Zhang");
    }
}

TEST_F(CardThroughDlls, DebitAndCreditChangeTheCardFile) {
    uint32_t serial = 0;
    ASSERT_EQ(DecMemberCard(0, "KXD103", 1250, serial), 0);
    EXPECT_EQ(serial, kSerial);
    EXPECT_EQ(ValuesOnCard(), (std::array<uint32_t, 3>{kBalance - 1250, kPoints, 0}));
    // The debit halted the card: it must be presented again.
    ASSERT_EQ(Kxcard(L"place " + Quoted(dump_) + L" --dist " + Quoted(installation_)).status, 0u);
    ASSERT_EQ(IncMemberCard(2, "KXD101", 300, serial), 0);
    EXPECT_EQ(ValuesOnCard(), (std::array<uint32_t, 3>{kBalance - 1250 + 300, kPoints, 0}));
}

TEST_F(CardThroughDlls, NoCardOnTheReader) {
    ASSERT_EQ(Kxcard(L"remove --dist " + Quoted(installation_)).status, 0u);
    TMemberCardImage image;
    EXPECT_EQ(ReadMemberCard(0, "KXD103", image), -1);
    const ProgramRun read = Kxcard(L"read --dist " + Quoted(installation_));
    EXPECT_EQ(read.status, 1u);
}

}  // namespace
}  // namespace kx::wintest
