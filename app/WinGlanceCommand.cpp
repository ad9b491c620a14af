#include "app/WinGlanceCommand.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "app/GlanceCommandLine.h"
#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinText.h"
#include "glance/WinGlance.h"
#include "history/HistoryPath.h"
#include "history/WinFiles.h"
#include "history/WinHistoryFile.h"

namespace ambervale::win {
namespace {

std::vector<std::string> Arguments() {
    int count = 0;
    const UniqueLocalMemory words(reinterpret_cast<HLOCAL>(CommandLineToArgvW(GetCommandLineW(), &count)));
    std::vector<std::string> arguments;
    auto* const argv = static_cast<wchar_t**>(words.get());
    for (int i = 1; argv && i < count; ++i) arguments.push_back(Utf8FromWide(argv[i]));
    return arguments;
}

// The program has no console of its own: the line goes to the standard error it was given (a redirection, a
// pipe), else to the console of the prompt it was started from.
void WriteErrorLine(const std::string& text) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    UniqueFile console;
    if (error == nullptr || error == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
        console.reset(CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
        if (!console) return;
        error = console.get();
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(error, &mode)) {
        const std::wstring line = WideFromUtf8(text) + L"\r\n";
        WriteConsoleW(error, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
    } else {
        const std::string line = text + "\r\n";
        WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

} // namespace

std::optional<int> RunGlanceCommandLine() {
    const std::vector<std::string> arguments = Arguments();
    const auto command = ParseGlanceCommand(arguments);
    if (!command) return std::nullopt;
    if (!command->mistake.empty()) {
        WriteErrorLine(command->mistake);
        return 2;
    }
    const std::string history = command->history.value_or(ComposeHistoryFilePath(ReadTempVariable()));
    const std::string report = command->report.value_or(GlanceReportPath(history));
    try {
        if (!FileExists(history)) throw AppError("There is no history file at " + history);
        WriteGlanceReport(history, report, nullptr);
    } catch (const ReportIsHistory& e) {
        WriteErrorLine(e.what());
        return 2;
    } catch (const std::exception& e) {
        WriteErrorLine(e.what());
        return 1;
    }
    // Written: that is the command's success, whether or not a browser can show it here.
    if (!command->report) {
        try {
            OpenGlanceReport(report, nullptr);
        } catch (const std::exception& e) {
            WriteErrorLine(e.what());
        }
    }
    return 0;
}

} // namespace ambervale::win
