#include "settings/AtomicFile.h"

#include "settings/IniFile.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kx {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
int OpenNew(const fs::path& p) {
    return _wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const char* data, size_t size) {
    return _write(fd, data, static_cast<unsigned>(std::min<size_t>(size, 1u << 30)));
}
bool FlushToDisk(int fd) {
    return _commit(fd) == 0;
}
int CloseFile(int fd) {
    return _close(fd);
}
bool MoveOver(const fs::path& from, const fs::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}
#else
int OpenNew(const fs::path& p) {
    return open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long WriteSome(int fd, const char* data, size_t size) {
    return write(fd, data, size);
}
bool FlushToDisk(int fd) {
    return fsync(fd) == 0;
}
int CloseFile(int fd) {
    return close(fd);
}
bool MoveOver(const fs::path& from, const fs::path& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}
#endif

constexpr fs::perms kAnyWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

bool HasWriteBit(fs::perms p) {
    return (p & kAnyWrite) != fs::perms::none;
}

class WriteFailure {};

// The new contents on their way in; removed again unless they were renamed into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(const fs::path& beside) {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            fs::path name(".");  // built as a path: the file name may have no narrow spelling
            name += beside.filename();
            name += "." + std::to_string(random()) + ".tmp";
            path_ = beside.parent_path() / name;
            fd_ = OpenNew(path_);
            if (fd_ < 0 && errno != EEXIST) {
                break;
            }
        }
        if (fd_ < 0) {
            throw WriteFailure();
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0) {
            CloseFile(fd_);
        }
        if (!renamed_) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }

    const fs::path& path() const { return path_; }

    void Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const long written = WriteSome(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                throw WriteFailure();
            }
            bytes.remove_prefix(static_cast<size_t>(written));
        }
    }

    // Flushed and closed: a failed close can be the first news of a full disk.
    void Finish() {
        const bool flushed = FlushToDisk(fd_);
        const int closed = CloseFile(fd_);
        fd_ = -1;
        if (!flushed || closed != 0) {
            throw WriteFailure();
        }
    }

    void MoveTo(const fs::path& target) {
        if (!MoveOver(path_, target)) {
            throw WriteFailure();
        }
        renamed_ = true;
    }

  private:
    fs::path path_;
    int fd_ = -1;
    bool renamed_ = false;
};

#ifndef _WIN32
// Only POSIX folders have bits to check and a handle to flush.
fs::path FolderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}
#endif

// Where the bytes go: the file itself, or the file a symbolic link points to.
fs::path WriteTarget(const fs::path& file) {
    std::error_code error;
    const fs::file_status link = fs::symlink_status(file, error);
    if (link.type() == fs::file_type::not_found) {
        return file;
    }
    const fs::path target = fs::canonical(file, error);
    if (error) {
        throw WriteFailure();
    }
    return target;
}

// The permission bits to keep, or nothing for a new file. Throws when the file can't be replaced.
std::optional<fs::perms> CheckWritable(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    const bool exists = status.type() != fs::file_type::not_found;
    if (exists && (status.type() != fs::file_type::regular || !HasWriteBit(status.permissions()))) {
        throw WriteFailure();
    }
#ifndef _WIN32
    // Windows folders ignore their read-only attribute; POSIX folders mean their bits.
    const fs::file_status folderStatus = fs::status(FolderOf(target), error);
    if (error || !fs::is_directory(folderStatus) || !HasWriteBit(folderStatus.permissions())) {
        throw WriteFailure();
    }
#endif
    return exists ? std::optional(status.permissions()) : std::nullopt;
}

#ifndef _WIN32
// Makes the rename itself durable; the data is safe without it, so a failure is not fatal.
void FlushFolder(const fs::path& target) {
    const int fd = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}
#endif

}  // namespace

void ReplaceFileAtomically(const fs::path& file, std::string_view bytes,
                           const BeforeRenameHook& beforeRename) {
    try {
        const fs::path target = WriteTarget(file);
        const std::optional<fs::perms> keep = CheckWritable(target);
        TemporaryFile temporary(target);
        temporary.Write(bytes);
        temporary.Finish();
        if (keep) {
            std::error_code error;
            fs::permissions(temporary.path(), *keep & fs::perms::mask, error);
            if (error) {
                throw WriteFailure();
            }
        }
        if (beforeRename) {
            beforeRename(temporary.path());
        }
        temporary.MoveTo(target);
#ifndef _WIN32
        FlushFolder(target);
#endif
    } catch (const WriteFailure&) {
        throw IniWriteError::ForFile(file);
    }
}

}  // namespace kx
