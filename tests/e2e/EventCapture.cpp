#include "e2e/EventCapture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "e2e/E2ePaths.h"
#include "eventlog/WinEventLog.h"
#include "fakes/WinTestRegistry.h"

namespace ambervale::e2e {
namespace {

// The fields of "(CAFE4242,0x0004,0x0000,0x00000064,...)".
std::vector<std::string> CallArguments(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = line.find('(');
    const std::size_t end = line.find(')', start);
    if (start == std::string::npos || end == std::string::npos) return fields;
    for (++start; start <= end;) {
        const std::size_t comma = std::min(line.find(',', start), end);
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return fields;
}

} // namespace

std::vector<LoggedEvent> LoggedEvents(const std::string& output) {
    std::vector<LoggedEvent> events;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find(":advapi:ReportEventW (") != std::string::npos) {
            const std::vector<std::string> arguments = CallArguments(line);
            if (arguments.size() < 4) continue;
            LoggedEvent event;
            event.type = static_cast<WORD>(std::stoul(arguments[1], nullptr, 16));
            event.id = static_cast<DWORD>(std::stoul(arguments[3], nullptr, 16));
            events.push_back(event);
            continue;
        }
        const std::size_t channel = line.find(":eventlog:ReportEventW L\"");
        if (channel == std::string::npos || events.empty()) continue;
        const std::size_t classStart = line.rfind(':', channel - 1);
        events.back().channelClass = line.substr(classStart + 1, channel - classStart - 1);
        const std::size_t textStart = line.find('"', channel) + 1;
        events.back().strings.push_back(line.substr(textStart, line.rfind('"') - textStart));
    }
    return events;
}

std::string OwnOutputFile() {
    char unixPath[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("AMBERVALE_WINE_OUTPUT", unixPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || unixPath[0] != '/') return {};
    // Wine's drive Z: is the Unix root.
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
}

std::string TextFrom(const std::string& path, std::size_t from) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void RegisterProgramEventSource() {
    const win::UniqueRegKey source = testing::CreateKey(HKEY_LOCAL_MACHINE, win::kEventSourceKey);
    testing::SetText(source, "EventMessageFile", AmbervaleExe());
    testing::SetNumber(source, "TypesSupported", 7);  // errors, warnings and information
}

void RemoveProgramEventSource() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, win::kEventSourceKey); }

} // namespace ambervale::e2e
