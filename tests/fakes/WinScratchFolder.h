#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace ambervale::testing {

// A fresh folder with a blank in its name under the temporary directory; removed with everything in
// it (read-only files too) when the test ends.
class WinScratchFolder {
public:
    WinScratchFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "ambervale history " + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~WinScratchFolder() {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string file = path_ + "\\" + found.cFileName;
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(file.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    WinScratchFolder(const WinScratchFolder&) = delete;
    WinScratchFolder& operator=(const WinScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "\\" + std::string(name); }

    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string file = File(name);
        HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
        EXPECT_NE(handle, INVALID_HANDLE_VALUE) << file;
        DWORD written = 0;
        if (!bytes.empty()) WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(handle);
        EXPECT_EQ(written, bytes.size());
        return file;
    }

private:
    static inline int counter_ = 0;
    std::string path_;
};

} // namespace ambervale::testing
