#pragma once
// Replacing a file's contents so that a crash, a kill or a full disk never leaves it half written.

#include <filesystem>
#include <functional>
#include <string_view>

namespace kx {

using BeforeRenameHook = std::function<void(const std::filesystem::path& temporaryFile)>;

// Writes bytes to a new file beside `file`, flushes it to disk, gives it the permission bits of
// `file`, then renames it over `file` (a symbolic link is followed, not replaced). A file or
// folder without any write permission bit counts as read-only, even for root. Throws
// IniWriteError ("Unable to write to <full path>.") with `file` unchanged and no temporary file
// left; an exception from beforeRename (a seam for tests) leaves things the same way.
void ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                           const BeforeRenameHook& beforeRename = {});

}  // namespace kx
