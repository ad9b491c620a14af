#pragma once
// Windows-only helpers that put a Standard TCP/IP port in the registry of the test environment's Wine prefix.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace ambervale::testing {

inline constexpr char kTcpIpPortsKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";

// A Standard TCP/IP port's key for as long as this lives; removed again, values and all, when it goes.
class WithTcpIpPort {
public:
    explicit WithTcpIpPort(std::string name) : name_(std::move(name)) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kTcpIpPortsKey + name_).c_str());
        created_ = RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kTcpIpPortsKey + name_).c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key_, nullptr) == ERROR_SUCCESS;
    }
    ~WithTcpIpPort() {
        if (created_) RegCloseKey(key_);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kTcpIpPortsKey + name_).c_str());
    }
    WithTcpIpPort(const WithTcpIpPort&) = delete;
    WithTcpIpPort& operator=(const WithTcpIpPort&) = delete;

    bool Created() const { return created_; }
    bool SetText(const char* value, const std::string& text) {
        return RegSetValueExA(key_, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }
    bool SetNumber(const char* value, std::uint32_t number) {
        const DWORD data = number;
        return RegSetValueExA(key_, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
               ERROR_SUCCESS;
    }
    bool SetBinary(const char* value) {
        const BYTE data[2] = {1, 2};
        return RegSetValueExA(key_, value, 0, REG_BINARY, data, sizeof data) == ERROR_SUCCESS;
    }
    // As Windows' dialog writes a port for a printer at an address, "SNMP Status Enabled" checked or not.
    bool SetSnmpPort(const std::string& address, const std::string& community, bool enabled) {
        return SetText("HostName", "") && SetText("IPAddress", address) && SetText("SNMP Community", community) &&
               SetNumber("SNMP Index", 1) && SetNumber("SNMP Enabled", enabled ? 1 : 0) &&
               SetNumber("Protocol", 1) && SetNumber("PortNumber", 9100);
    }

private:
    std::string name_;
    HKEY key_ = nullptr;
    bool created_ = false;
};

} // namespace ambervale::testing
