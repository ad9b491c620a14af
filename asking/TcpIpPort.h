#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace ambervale {

// One value of a port's key as it is stored.
struct PortValue {
    enum class Kind { Absent, Text, Number, Other };
    Kind kind = Kind::Absent;
    std::string text;         // for Text
    std::uint32_t number = 0; // for Number
};

// The values of a Standard TCP/IP port that say whether and where its printer may be asked.
struct TcpIpPortValues {
    PortValue snmpEnabled;  // "SNMP Enabled": the port's "SNMP Status Enabled" box
    PortValue hostName;     // "HostName"
    PortValue ipAddress;    // "IPAddress"
    PortValue community;    // "SNMP Community"
    PortValue deviceIndex;  // "SNMP Index"
};

// The Standard TCP/IP ports Windows' port monitor keeps. Reading changes nothing.
class StandardTcpIpPorts {
public:
    virtual ~StandardTcpIpPorts() = default;
    // The port's values; nullopt when no Standard TCP/IP port has that name (another kind of port) or its key
    // cannot be read.
    virtual std::optional<TcpIpPortValues> Read(const std::string& portName) = 0;
};

// Where and how the printer on a port is asked over SNMP, by the port's own settings.
struct SnmpTarget {
    std::string host;       // a name or an address, as the port has it
    std::string community;  // never logged, never shown
    std::uint32_t deviceIndex = 1;
};

// True when the port's name can name a port's key at all: not empty, at most 255 characters, no backslash. A
// printer on any other port is not asked.
bool IsPortKeyName(const std::string& portName);

// The printer is asked only when the port says SNMP is on (a number 1) and every value it needs is usable: the host
// name, or the address when the name is empty; the community ("public" when absent) and the device index (1 when
// absent). Anything else means the printer is not asked at all.
std::optional<SnmpTarget> SnmpTargetOf(const TcpIpPortValues& port);

// What a port gives to ask its printer by: SNMP's settings when its box is checked and they are usable; else the
// host alone (by the same rule), at which another protocol may guess the printer's address. Never both.
struct PortTargets {
    std::optional<SnmpTarget> snmp;
    std::optional<std::string> guessHost;
};
PortTargets TargetsOf(const TcpIpPortValues& port);

} // namespace ambervale
