#include "asking/WinStandardTcpIpPorts.h"

#include <windows.h>

#include "base/WinHandles.h"
#include "base/WinRegistryKey.h"
#include "base/WinRegistryText.h"

namespace ambervale::win {
namespace {

constexpr char kPortsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";

// What a value is stored as decides how it is read: a value of another type than the one its rule needs is kept as
// Other rather than passing for absent, which for some values would mean their default.
PortValue ReadPortValue(HKEY key, const std::string& name) {
    DWORD type = 0;
    const LONG found = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, nullptr);
    if (found == ERROR_FILE_NOT_FOUND) return {};
    PortValue value{PortValue::Kind::Other, "", 0};
    if (found != ERROR_SUCCESS) return value;
    if (type == REG_SZ) {
        if (auto text = ReadRegistryText(key, name)) value = {PortValue::Kind::Text, std::move(*text), 0};
    } else if (type == REG_DWORD) {
        if (auto number = ReadRegistryNumber(key, name)) value = {PortValue::Kind::Number, "", *number};
    }
    return value;
}

} // namespace

std::optional<TcpIpPortValues> WinStandardTcpIpPorts::Read(const std::string& portName) {
    // SYSTEM is one for 32- and 64-bit programs alike; the 64-bit view is asked for all the same, so the 32-bit build
    // reads what the port monitor wrote even where a system redirected it.
    const UniqueRegKey key =
        OpenRegistryKey(HKEY_LOCAL_MACHINE, kPortsKey + portName, KEY_QUERY_VALUE | KEY_WOW64_64KEY);
    if (!key) return std::nullopt;
    TcpIpPortValues port;
    port.snmpEnabled = ReadPortValue(key.get(), "SNMP Enabled");
    port.hostName = ReadPortValue(key.get(), "HostName");
    port.ipAddress = ReadPortValue(key.get(), "IPAddress");
    port.community = ReadPortValue(key.get(), "SNMP Community");
    port.deviceIndex = ReadPortValue(key.get(), "SNMP Index");
    return port;
}

} // namespace ambervale::win
