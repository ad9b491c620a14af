#pragma once
#include <string>

#include "history/HistoryCommandsServices.h"

namespace ambervale {

// True when the path's modification time can be read: an existing file or folder. Never fails.
bool FileExists(const std::string& path);

// The history commands' file operations on the real file system, by UTF-8 paths through the wide calls. Every
// failure is silent.
class WinFiles final : public HistoryFiles {
public:
    bool FileExists(const std::string& path) override { return ambervale::FileExists(path); }
    bool DeletePlain(const std::string& path) override;
    void DeleteForced(const std::string& path) override;
};

} // namespace ambervale
