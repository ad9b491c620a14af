#include "e2e/EventLogProbe.h"

#include <fstream>
#include <sstream>

#include "base/WinHandles.h"
#include "eventlog/WinEventLog.h"

namespace ambervale::e2e {
namespace {

win::UniqueRegKey OpenOrCreate(HKEY root, const char* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, access, nullptr, &key, nullptr) != ERROR_SUCCESS) return {};
    return win::UniqueRegKey(key);
}

win::UniqueRegKey OpenSourceKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, win::kEventSourceKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
    return win::UniqueRegKey(key);
}

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

void WriteEventSourceKey(const std::string& messageFile) {
    const win::UniqueRegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, win::kEventSourceKey, KEY_SET_VALUE);
    if (!key) return;
    RegSetValueExA(key.get(), "EventMessageFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(messageFile.c_str()),
                   static_cast<DWORD>(messageFile.size() + 1));
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    RegSetValueExA(key.get(), "TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types), sizeof types);
}

void DeleteEventSourceKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, win::kEventSourceKey); }

bool EventSourceKeyExists() { return static_cast<bool>(OpenSourceKey()); }

std::string EventSourceKeyText(const char* name) {
    const win::UniqueRegKey key = OpenSourceKey();
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    if (!key || RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
                    ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return "<absent>";
    }
    return text;
}

std::optional<DWORD> EventSourceKeyNumber(const char* name) {
    const win::UniqueRegKey key = OpenSourceKey();
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (!key || RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                    ERROR_SUCCESS || type != REG_DWORD) {
        return std::nullopt;
    }
    return value;
}

void SetUserEventLogPolicy(std::optional<DWORD> value) {
    if (!value) {
        RegDeleteKeyA(HKEY_CURRENT_USER, win::kEventLogPolicyKey);
        return;
    }
    const win::UniqueRegKey key = OpenOrCreate(HKEY_CURRENT_USER, win::kEventLogPolicyKey, KEY_SET_VALUE);
    if (key) {
        RegSetValueExA(key.get(), win::kEventLogPolicyValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value),
                       sizeof *value);
    }
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

std::uintmax_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string TextFrom(const std::string& path, std::uintmax_t from) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

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

} // namespace ambervale::e2e
