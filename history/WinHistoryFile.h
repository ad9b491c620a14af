#pragma once
#include <optional>
#include <string>

#include "history/HistoryFile.h"

namespace ambervale {

// Appends with CreateFileA/WriteFile; the file is opened for each append and closed at once.
class WinHistoryWriter final : public HistoryWriter {
public:
    void Append(const std::string& path, std::string_view bytes) override;
};

// The process's TEMP variable; nullopt when it is not set.
std::optional<std::string> ReadTempVariable();

} // namespace ambervale
