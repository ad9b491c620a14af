#pragma once
#include <optional>
#include <span>
#include <string>

namespace ambervale {

// "Ambervale.exe /glance [HISTORY [REPORT]]": the history at a glance without a window.
struct GlanceCommand {
    std::optional<std::string> history;  // nullopt: this user's history file
    std::optional<std::string> report;   // nullopt: beside the history file, and opened once written
    std::string mistake;                 // not empty: the command line cannot be used, and why
};

// The command for the arguments after the program's name; nullopt when they ask for no report (the program starts
// as it always has, whatever else they say).
std::optional<GlanceCommand> ParseGlanceCommand(std::span<const std::string> arguments);

} // namespace ambervale
