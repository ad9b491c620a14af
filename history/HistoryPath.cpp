#include "history/HistoryPath.h"

#include "base/Globals.h"
#include "base/Text.h"

namespace ambervale {
namespace {

constexpr std::string_view kFileNameChars = "$/\\*:?<>|#' .,\"()-+=%;{}\t";
static_assert(kFileNameChars.size() == 25);

} // namespace

std::string RemoveSuffixWord(std::string_view name, std::string_view word) {
    const auto lastBlank = name.rfind(' ');
    if (lastBlank == std::string_view::npos) {
        return std::string(name);
    }
    if (word.empty() || TrimBlanks(name.substr(lastBlank)) == word) {
        return std::string(TrimBlanks(name.substr(0, lastBlank)));
    }
    return std::string(name);
}

std::string StripFileNameChars(std::string_view name) {
    std::string kept;
    kept.reserve(name.size());
    for (const char c : name) {
        if (kFileNameChars.find(c) == std::string_view::npos) kept.push_back(c);
    }
    return kept;
}

std::string ComposeHistoryFilePath(const std::optional<std::string>& temp) {
    std::string path = temp.value_or(std::string());
    path += '\\';
    path += StripFileNameChars(RemoveSuffixWord(kProductName, "Software"));
    path += ".txt";
    return path;
}

} // namespace ambervale
