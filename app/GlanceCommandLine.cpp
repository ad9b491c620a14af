#include "app/GlanceCommandLine.h"

#include <algorithm>
#include <cctype>

namespace ambervale {

std::optional<GlanceCommand> ParseGlanceCommand(std::span<const std::string> arguments) {
    const auto isGlance = [](const std::string& word) {
        constexpr std::string_view kSwitch = "/glance";
        return word.size() == kSwitch.size() &&
               std::equal(word.begin(), word.end(), kSwitch.begin(),
                          [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    };
    if (arguments.empty() || !isGlance(arguments[0])) return std::nullopt;
    GlanceCommand command;
    if (arguments.size() > 3) {
        command.mistake = "Usage: Ambervale.exe /glance [HISTORY [REPORT]]";
        return command;
    }
    if (arguments.size() > 1) command.history = arguments[1];
    if (arguments.size() > 2) command.report = arguments[2];
    if ((command.history && command.history->empty()) || (command.report && command.report->empty())) {
        command.mistake = "Usage: Ambervale.exe /glance [HISTORY [REPORT]] (a path may not be empty)";
    }
    return command;
}

} // namespace ambervale
