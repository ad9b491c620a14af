#pragma once
#include <optional>

namespace ambervale::win {

// Runs "/glance [HISTORY [REPORT]]" when the command line asks for it: the report written without a window, nothing
// logged, no claim on the one instance; opened in the browser only when no REPORT was named. The exit code: 0 once
// written (a browser that cannot show it is told of in one line on standard error, and changes nothing), 1 when the
// history could not be read or the report written, 2 for a command line it cannot use (a REPORT that is the history
// file itself included), each with one line on standard error. nullopt when the command line asks for no report.
std::optional<int> RunGlanceCommandLine();

} // namespace ambervale::win
