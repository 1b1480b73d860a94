#include "PeImage.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kx::wintest {
namespace {

class PeFile {
  public:
    explicit PeFile(const std::filesystem::path& file) : file_(file) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            Fail("cannot be opened");
        }
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
        const auto dos = At<IMAGE_DOS_HEADER>(0);
        if (dos.e_magic != IMAGE_DOS_SIGNATURE) {
            Fail("has no MZ header");
        }
        const auto nt = static_cast<size_t>(dos.e_lfanew);
        if (At<DWORD>(nt) != IMAGE_NT_SIGNATURE) {
            Fail("has no PE header");
        }
        const auto fileHeader = At<IMAGE_FILE_HEADER>(nt + sizeof(DWORD));
        const size_t optional = nt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
        const WORD magic = At<WORD>(optional);
        if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
            is64_ = true;
            const auto header = At<IMAGE_OPTIONAL_HEADER64>(optional);
            std::memcpy(directories_, header.DataDirectory, sizeof(directories_));
        } else if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
            const auto header = At<IMAGE_OPTIONAL_HEADER32>(optional);
            std::memcpy(directories_, header.DataDirectory, sizeof(directories_));
        } else {
            Fail("has an unknown optional header");
        }
        const size_t sections = optional + fileHeader.SizeOfOptionalHeader;
        for (WORD i = 0; i < fileHeader.NumberOfSections; ++i) {
            sections_.push_back(
                At<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER)));
        }
    }

    bool Is64() const { return is64_; }
    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return directories_[index]; }

    template <typename T>
    T AtRva(DWORD rva) const {
        return At<T>(Offset(rva));
    }

    std::string StringAtRva(DWORD rva) const {
        const size_t start = Offset(rva);
        const auto end =
            std::find(bytes_.begin() + static_cast<std::ptrdiff_t>(start), bytes_.end(), '\0');
        if (end == bytes_.end()) {
            Fail("has an unterminated name");
        }
        return std::string(bytes_.begin() + static_cast<std::ptrdiff_t>(start), end);
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error(file_.string() + " " + what);
    }

  private:
    template <typename T>
    T At(size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) {
            Fail("is truncated");
        }
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof(T));
        return value;
    }

    size_t Offset(DWORD rva) const {
        for (const auto& s : sections_) {
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData) {
                return rva - s.VirtualAddress + s.PointerToRawData;
            }
        }
        Fail("has an address outside its sections");
    }

    std::filesystem::path file_;
    std::vector<char> bytes_;
    bool is64_ = false;
    IMAGE_DATA_DIRECTORY directories_[IMAGE_NUMBEROF_DIRECTORY_ENTRIES] = {};
    std::vector<IMAGE_SECTION_HEADER> sections_;
};

void ReadExports(const PeFile& pe, PeImage& image) {
    const auto& dir = pe.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (dir.Size == 0) {
        return;
    }
    const auto exports = pe.AtRva<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
    std::vector<bool> named(exports.NumberOfFunctions, false);
    for (DWORD i = 0; i < exports.NumberOfNames; ++i) {
        const auto index = pe.AtRva<WORD>(exports.AddressOfNameOrdinals + i * sizeof(WORD));
        if (index >= named.size()) {
            pe.Fail("has a name for a missing export");
        }
        named[index] = true;
        image.exportNames.insert(
            pe.StringAtRva(pe.AtRva<DWORD>(exports.AddressOfNames + i * sizeof(DWORD))));
    }
    for (DWORD i = 0; i < exports.NumberOfFunctions; ++i) {
        const bool used = pe.AtRva<DWORD>(exports.AddressOfFunctions + i * sizeof(DWORD)) != 0;
        if (used && !named[i]) {
            image.unnamedExportOrdinals.insert(static_cast<uint16_t>(exports.Base + i));
        }
    }
}

template <typename Thunk>
void ReadThunks(const PeFile& pe, DWORD rva, uint64_t ordinalFlag, PeImports& imports) {
    for (;; rva += sizeof(Thunk)) {
        const uint64_t thunk = pe.AtRva<Thunk>(rva);
        if (thunk == 0) {
            return;
        }
        if (thunk & ordinalFlag) {
            imports.ordinals.insert(static_cast<uint16_t>(thunk & 0xFFFF));
        } else {
            // IMAGE_IMPORT_BY_NAME: a 16-bit hint, then the name.
            imports.names.insert(pe.StringAtRva(static_cast<DWORD>(thunk) + sizeof(WORD)));
        }
    }
}

void ReadImports(const PeFile& pe, PeImage& image) {
    const auto& dir = pe.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (dir.Size == 0) {
        return;
    }
    for (DWORD rva = dir.VirtualAddress;; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto descriptor = pe.AtRva<IMAGE_IMPORT_DESCRIPTOR>(rva);
        if (descriptor.Name == 0) {
            return;
        }
        PeImports imports{pe.StringAtRva(descriptor.Name), {}, {}};
        const DWORD thunks = descriptor.OriginalFirstThunk != 0 ? descriptor.OriginalFirstThunk
                                                                : descriptor.FirstThunk;
        if (pe.Is64()) {
            ReadThunks<uint64_t>(pe, thunks, IMAGE_ORDINAL_FLAG64, imports);
        } else {
            ReadThunks<uint32_t>(pe, thunks, IMAGE_ORDINAL_FLAG32, imports);
        }
        image.imports.push_back(std::move(imports));
    }
}

}  // namespace

PeImage ReadPeImage(const std::filesystem::path& file) {
    const PeFile pe(file);
    PeImage image;
    image.is64 = pe.Is64();
    ReadExports(pe, image);
    ReadImports(pe, image);
    return image;
}

}  // namespace kx::wintest
