// The built program and its setup library as files: what their image headers promise Windows, and the libraries that
// Windows loads for them before any code of theirs runs.
#include <windows.h>

#include <gtest/gtest.h>

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

// A program or library mapped as Windows maps an image, its sections at their places, and none of its code run. Of
// this build's own kind (32 or 64 bits), as the program and the setup library are.
class PeImage {
public:
    explicit PeImage(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Base());
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return;
        const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(Base() + dos->e_lfanew);
        if (headers->Signature == IMAGE_NT_SIGNATURE && headers->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR_MAGIC) {
            headers_ = headers;
        }
    }
    ~PeImage() {
        if (module_) FreeLibrary(module_);
    }
    PeImage(const PeImage&) = delete;
    PeImage& operator=(const PeImage&) = delete;

    bool Valid() const { return headers_ != nullptr; }
    HMODULE Module() const { return module_; }
    WORD Characteristics() const { return headers_->FileHeader.Characteristics; }
    WORD DllCharacteristics() const { return headers_->OptionalHeader.DllCharacteristics; }
    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return headers_->OptionalHeader.DataDirectory[index]; }

    // The file names of the libraries in the import table, as the file spells them.
    std::vector<std::string> ImportedLibraries() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& imports = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        if (imports.Size == 0) return names;
        for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Base() + imports.VirtualAddress);
             entry->Name != 0; ++entry) {
            names.emplace_back(reinterpret_cast<const char*>(Base() + entry->Name));
        }
        return names;
    }

private:
    // The handle of an image resource is its address with the low bits set.
    const BYTE* Base() const {
        return reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module_) & ~ULONG_PTR{3});
    }

    HMODULE module_;
    const IMAGE_NT_HEADERS* headers_ = nullptr;
};

TEST(Executable, IsLargeAddressAware) {
    const PeImage exe(AmbervaleExe());
    ASSERT_TRUE(exe.Valid()) << AmbervaleExe();
    // Without the flag a 32-bit program gets 2 GB of address space even on 64-bit Windows.
    EXPECT_TRUE(exe.Characteristics() & IMAGE_FILE_LARGE_ADDRESS_AWARE);
}

TEST(Executable, TheProgramAndItsSetupLibraryTakeRandomPlacesAndKeepDataFromRunning) {
    const WORD both = IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_NX_COMPAT |
                      (sizeof(void*) == 8 ? IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA : 0);
    const struct {
        std::string path;
        WORD flags;
    } images[] = {
        {AmbervaleExe(), static_cast<WORD>(both | IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE)},
        {BuiltSetupLibrary(), both},
    };
    for (const auto& image : images) {
        const PeImage file(image.path);
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
        const PeImage file(image.path);
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
    const PeImage exe(AmbervaleExe());
    ASSERT_TRUE(exe.Valid());
    std::string manifest;
    if (HRSRC found = FindResourceA(exe.Module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {  // RT_MANIFEST
        if (HGLOBAL loaded = LoadResource(exe.Module(), found)) {
            manifest.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(exe.Module(), found));
        }
    }
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << manifest;
}

} // namespace
} // namespace ambervale::e2e
