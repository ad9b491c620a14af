#pragma once
// Windows-only helpers that put a Standard TCP/IP port in the registry of the test environment's Wine prefix.
#include <windows.h>

#include <string>

#include "fakes/WinTestRegistry.h"

namespace ambervale::testing {

inline constexpr char kTcpIpPortsKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";

// A Standard TCP/IP port's key for as long as this lives; removed again, values and all, when it goes.
class WithTcpIpPort {
public:
    explicit WithTcpIpPort(const std::string& name) : path_(kTcpIpPortsKey + name) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str());
        key_ = CreateKey(HKEY_LOCAL_MACHINE, path_, KEY_WOW64_64KEY);
    }
    ~WithTcpIpPort() {
        key_.reset();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str());
    }
    WithTcpIpPort(const WithTcpIpPort&) = delete;
    WithTcpIpPort& operator=(const WithTcpIpPort&) = delete;

    bool Created() const { return static_cast<bool>(key_); }
    const win::UniqueRegKey& Key() const { return key_; }
    // As Windows' dialog writes a port for a printer at an address, "SNMP Status Enabled" checked or not.
    bool SetSnmpPort(const std::string& address, const std::string& community, bool enabled) {
        return SetText(key_, "HostName", "") && SetText(key_, "IPAddress", address) &&
               SetText(key_, "SNMP Community", community) && SetNumber(key_, "SNMP Index", 1) &&
               SetNumber(key_, "SNMP Enabled", enabled ? 1 : 0) && SetNumber(key_, "Protocol", 1) &&
               SetNumber(key_, "PortNumber", 9100);
    }

private:
    std::string path_;
    win::UniqueRegKey key_;
};

} // namespace ambervale::testing
