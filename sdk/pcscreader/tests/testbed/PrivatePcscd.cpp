#include "PrivatePcscd.h"

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <winscard.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace kx::pcsc::testing {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kRunFolder = "/run/pcscd";
constexpr const char* kSocket = "/run/pcscd/pcscd.comm";
constexpr const char* kConfigFolder = "/run/pcscd/reader.conf.d";
constexpr const char* kLog = "/run/pcscd/pcscd.log";

std::string Failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool BringLoopbackUp() {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags |= IFF_UP;
    up = up && ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    close(fd);
    return up;
}

// Moves this process into namespaces of its own with a fresh /run/pcscd.
std::string IsolateProcess() {
    if (unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
        return Failure("unshare of network and mount namespaces");
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return Failure("making mounts private");
    }
    if (!BringLoopbackUp()) {
        return Failure("bringing up loopback");
    }
    // A tmpfs over all of /run, so that not even the folder is left behind on the machine.
    if (mount("tmpfs", "/run", "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755") != 0) {
        return Failure("mounting a tmpfs on /run");
    }
    if (mkdir(kRunFolder, 0755) != 0) {
        return Failure("creating /run/pcscd");
    }
    return {};
}

bool WriteReaderConfig() {
    std::error_code error;
    fs::create_directories(kConfigFolder, error);
    std::ofstream config(fs::path(kConfigFolder) / "vpcd");
    config << "FRIENDLYNAME \"Virtual PCD\"\n"
           << "DEVICENAME   /dev/null:0x8C7B\n"
           << "LIBPATH      " << KX_VPCD_DRIVER << "\n"
           << "CHANNELID    0x8C7B\n";
    return static_cast<bool>(config.flush());
}

bool WaitFor(auto condition, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Both vpcd slots listed: the daemon runs and vpcd listens for cards.
bool VpcdReadersListed() {
    SCARDCONTEXT context = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context) != SCARD_S_SUCCESS) {
        return false;
    }
    char names[1024] = {};
    DWORD length = sizeof names;
    const bool listed = SCardListReaders(context, nullptr, names, &length) == SCARD_S_SUCCESS &&
                        std::string(names) == kVpcdReaderNames[0] &&
                        std::string(names + std::strlen(names) + 1) == kVpcdReaderNames[1];
    SCardReleaseContext(context);
    return listed;
}

}  // namespace

PrivatePcscd::State PrivatePcscd::Start(std::string& reason) {
    if (geteuid() != 0) {
        reason = "needs root for private network and mount namespaces";
        return State::Unavailable;
    }
    for (const char* program : {KX_PCSCD, KX_SOCKET_ACTIVATE, KX_VPCD_DRIVER}) {
        if (!fs::exists(program)) {
            reason = std::string(program) + " is missing (pcscd, systemd, vsmartcard-vpcd)";
            return State::Unavailable;
        }
    }
    if (!isolated_) {
        if (reason = IsolateProcess(); !reason.empty()) {
            return State::Unavailable;
        }
        isolated_ = true;
    }
    // A daemon started before left its socket behind.
    std::error_code ignored;
    fs::remove(kSocket, ignored);
    if (!WriteReaderConfig()) {
        reason = "cannot write the vpcd reader configuration";
        return State::Failed;
    }
    // pcscd always serves /run/pcscd/pcscd.comm: socket activation has the socket ready before
    // the daemon runs, and the daemon starts with the first PC/SC call.
    std::vector<std::string> arguments{KX_SOCKET_ACTIVATE, "-l", kSocket, KX_PCSCD, "-f", "-c",
                                       kConfigFolder};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int log = open(kLog, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t parent = getpid();
    daemon_ = fork();
    if (daemon_ == 0) {
        // The daemon dies with the test, even when the test crashes.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (log >= 0) {
        close(log);
    }
    if (daemon_ < 0) {
        reason = Failure("fork");
        return State::Failed;
    }
    if (!WaitFor([] { return fs::exists(kSocket); }, std::chrono::seconds(5))) {
        reason = "pcscd's socket did not appear";
        return State::Failed;
    }
    chmod(kSocket, 0666);
    if (!WaitFor(VpcdReadersListed, std::chrono::seconds(10))) {
        reason = "pcscd did not list the two vpcd readers (see /run/pcscd/pcscd.log)";
        return State::Failed;
    }
    return State::Running;
}

void PrivatePcscd::Stop() {
    if (daemon_ <= 0) {
        return;
    }
    kill(daemon_, SIGTERM);
    int status = 0;
    const bool ended = WaitFor([&] { return waitpid(daemon_, &status, WNOHANG) == daemon_; },
                               std::chrono::seconds(3));
    if (!ended) {
        kill(daemon_, SIGKILL);
        waitpid(daemon_, &status, 0);
    }
    daemon_ = -1;
}

}  // namespace kx::pcsc::testing
