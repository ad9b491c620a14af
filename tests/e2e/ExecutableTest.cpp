// The built program and its setup library as files: what their image headers promise Windows, and the libraries that
// Windows loads for them before any code of theirs runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "e2e/E2ePaths.h"

namespace ambervale::e2e {
namespace {

// The known libraries of every Windows from 7 on: Windows takes them from the system folder, whatever the program's
// folder holds.
const char* const kKnownLibraries[] = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll",   "imagehlp.dll", "imm32.dll",   "kernel32.dll", "msctf.dll",
    "msvcrt.dll",   "normaliz.dll", "nsi.dll",     "ole32.dll",    "oleaut32.dll", "psapi.dll",   "sechost.dll",
    "setupapi.dll", "shell32.dll",  "shlwapi.dll", "user32.dll",   "wldap32.dll", "ws2_32.dll",
};

std::string BuiltSetupLibrary() { return BuildFolder() + "\\installer\\AmbervaleSetup.dll"; }

// The parts of a PE file these tests read; reads are checked against the file's size.
class PeFile {
public:
    explicit PeFile(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        IMAGE_DOS_HEADER dos{};
        if (!Read(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return;
        const std::size_t fileHeaderAt = static_cast<std::size_t>(dos.e_lfanew) + sizeof(DWORD);  // past "PE\0\0"
        if (!Read(fileHeaderAt, header_)) return;
        const std::size_t optionalAt = fileHeaderAt + sizeof header_;
        WORD magic = 0;
        if (!Read(optionalAt, magic)) return;
        if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
            IMAGE_OPTIONAL_HEADER64 optional{};
            valid_ = Read(optionalAt, optional) && Keep(optional);
        } else {
            IMAGE_OPTIONAL_HEADER32 optional{};
            valid_ = Read(optionalAt, optional) && Keep(optional);
        }
        sectionsAt_ = optionalAt + header_.SizeOfOptionalHeader;
    }

    bool Valid() const { return valid_; }
    WORD Characteristics() const { return header_.Characteristics; }
    WORD DllCharacteristics() const { return dllCharacteristics_; }
    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return directories_[index]; }

    // The file names of the libraries in the import table, as the file spells them.
    std::vector<std::string> ImportedLibraries() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& imports = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        for (DWORD at = imports.VirtualAddress; imports.Size != 0; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            IMAGE_IMPORT_DESCRIPTOR descriptor{};
            const auto offset = FileOffset(at);
            if (!offset || !Read(*offset, descriptor) || descriptor.Name == 0) break;
            const auto nameAt = FileOffset(descriptor.Name);
            if (!nameAt) break;
            names.emplace_back(bytes_.data() + *nameAt, strnlen(bytes_.data() + *nameAt, bytes_.size() - *nameAt));
        }
        return names;
    }

private:
    template <class T>
    bool Read(std::size_t at, T& value) const {
        if (at > bytes_.size() || bytes_.size() - at < sizeof value) return false;
        std::memcpy(&value, bytes_.data() + at, sizeof value);
        return true;
    }
    template <class Optional>
    bool Keep(const Optional& optional) {
        dllCharacteristics_ = optional.DllCharacteristics;
        std::memcpy(directories_, optional.DataDirectory, sizeof directories_);
        return true;
    }
    std::optional<std::size_t> FileOffset(DWORD rva) const {
        for (WORD i = 0; i < header_.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section{};
            if (!Read(sectionsAt_ + i * sizeof section, section)) return std::nullopt;
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData) {
                return std::size_t{section.PointerToRawData} + (rva - section.VirtualAddress);
            }
        }
        return std::nullopt;
    }

    std::vector<char> bytes_;
    IMAGE_FILE_HEADER header_{};
    WORD dllCharacteristics_ = 0;
    IMAGE_DATA_DIRECTORY directories_[IMAGE_NUMBEROF_DIRECTORY_ENTRIES]{};
    std::size_t sectionsAt_ = 0;
    bool valid_ = false;
};

TEST(Executable, IsLargeAddressAware) {
    const PeFile exe(AmbervaleExe());
    ASSERT_TRUE(exe.Valid()) << AmbervaleExe();
    // Without the flag a 32-bit program gets 2 GB of address space even on 64-bit Windows.
    EXPECT_TRUE(exe.Characteristics() & IMAGE_FILE_LARGE_ADDRESS_AWARE);
}

TEST(Executable, TheProgramAndItsSetupLibraryTakeRandomPlacesAndKeepDataFromRunning) {
    const bool is64 = sizeof(void*) == 8;
    const struct {
        std::string path;
        WORD flags;
    } images[] = {
        {AmbervaleExe(), static_cast<WORD>(IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_NX_COMPAT |
                                           IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE |
                                           (is64 ? IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA : 0))},
        {BuiltSetupLibrary(),
         static_cast<WORD>(IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_NX_COMPAT |
                           (is64 ? IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA : 0))},
    };
    for (const auto& image : images) {
        const PeFile file(image.path);
        ASSERT_TRUE(file.Valid()) << image.path;
        EXPECT_EQ(file.DllCharacteristics() & image.flags, image.flags)
            << image.path << std::hex << ": 0x" << file.DllCharacteristics();
        // Without its relocations an image cannot move, whatever its flags say.
        EXPECT_NE(file.Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u) << image.path;
        EXPECT_FALSE(file.Characteristics() & IMAGE_FILE_RELOCS_STRIPPED) << image.path;
    }
}

// Windows resolves these imports before the program's first line, where SetDefaultDllDirectories cannot help yet: each
// must be a known library, or come through the manifest (the common controls), or be loaded already (the setup
// library runs inside the installer, which has msi.dll).
TEST(Executable, ImportsNothingThatAFileBesideItCouldReplace) {
    const struct {
        std::string path;
        const char* besidesKnown;
    } images[] = {{AmbervaleExe(), "comctl32.dll"}, {BuiltSetupLibrary(), "msi.dll"}};
    for (const auto& image : images) {
        const PeFile file(image.path);
        ASSERT_TRUE(file.Valid()) << image.path;
        const std::vector<std::string> imported = file.ImportedLibraries();
        EXPECT_GE(imported.size(), 2u) << image.path;
        for (const std::string& library : imported) {
            bool allowed = lstrcmpiA(library.c_str(), image.besidesKnown) == 0;
            for (const char* known : kKnownLibraries) allowed = allowed || lstrcmpiA(library.c_str(), known) == 0;
            EXPECT_TRUE(allowed) << image.path << " imports " << library;
        }
    }
}

TEST(Executable, TheCommonControlsComeThroughTheManifest) {
    const HMODULE exe = LoadLibraryExA(AmbervaleExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    std::string manifest;
    if (HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {  // RT_MANIFEST
        if (HGLOBAL loaded = LoadResource(exe, found)) {
            manifest.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(exe, found));
        }
    }
    FreeLibrary(exe);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << manifest;
}

} // namespace
} // namespace ambervale::e2e
