#pragma once
#include <optional>
#include <string>

#include "history/HistoryFile.h"

namespace ambervale {

// Appends with CreateFileW/WriteFile to the file at a UTF-8 path; the file is opened for each append and closed at
// once. The bytes (ANSI text) are written as they are.
class WinHistoryWriter final : public HistoryWriter {
public:
    void Append(const std::string& path, std::string_view bytes) override;
};

// The process's TEMP variable in UTF-8; nullopt when it is not set.
std::optional<std::string> ReadTempVariable();

} // namespace ambervale
