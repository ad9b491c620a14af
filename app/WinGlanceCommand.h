#pragma once
#include <optional>

namespace ambervale::win {

// Runs "/glance [HISTORY [REPORT]]" when the command line asks for it: the report written without a window, nothing
// logged, no claim on the one instance; opened in the browser only when no REPORT was named. The exit code: 0 when
// written (and opened), 1 otherwise with one line on standard error, 2 for a command line it cannot use. nullopt
// when the command line asks for no report.
std::optional<int> RunGlanceCommandLine();

} // namespace ambervale::win
