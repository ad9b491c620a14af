#include "asking/TcpIpPort.h"

#include <algorithm>

namespace ambervale {
namespace {

constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxHostName = 255;
constexpr std::size_t kMaxCommunity = 255;
constexpr std::uint32_t kMaxDeviceIndex = 0x7FFFFFFF;  // hrDeviceIndex runs from 1 to 2147483647
constexpr char kDefaultCommunity[] = "public";

// A DNS name, an IPv4 address or an IPv6 address (with its zone): nothing else is a host to send to.
bool IsHostText(const std::string& host) {
    if (host.empty() || host.size() > kMaxHostName) return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
               c == '_' || c == ':' || c == '%';
    });
}

std::optional<std::string> HostOf(const TcpIpPortValues& port) {
    const PortValue& name = port.hostName;
    if (name.kind == PortValue::Kind::Text && !name.text.empty()) {
        return IsHostText(name.text) ? std::optional(name.text) : std::nullopt;
    }
    if (name.kind != PortValue::Kind::Absent && name.kind != PortValue::Kind::Text) return std::nullopt;
    const PortValue& address = port.ipAddress;
    if (address.kind == PortValue::Kind::Text && IsHostText(address.text)) return address.text;
    return std::nullopt;
}

std::optional<std::string> CommunityOf(const PortValue& community) {
    if (community.kind == PortValue::Kind::Absent) return kDefaultCommunity;
    if (community.kind != PortValue::Kind::Text || community.text.empty() || community.text.size() > kMaxCommunity) {
        return std::nullopt;
    }
    return community.text;
}

std::optional<std::uint32_t> DeviceIndexOf(const PortValue& index) {
    if (index.kind == PortValue::Kind::Absent) return 1;
    if (index.kind != PortValue::Kind::Number || index.number == 0 || index.number > kMaxDeviceIndex) {
        return std::nullopt;
    }
    return index.number;
}

} // namespace

bool IsPortKeyName(const std::string& portName) {
    return !portName.empty() && portName.size() <= kMaxKeyName && portName.find('\\') == std::string::npos;
}

std::optional<SnmpTarget> SnmpTargetOf(const TcpIpPortValues& port) {
    if (port.snmpEnabled.kind != PortValue::Kind::Number || port.snmpEnabled.number != 1) return std::nullopt;
    auto host = HostOf(port);
    auto community = CommunityOf(port.community);
    const auto index = DeviceIndexOf(port.deviceIndex);
    if (!host || !community || !index) return std::nullopt;
    return SnmpTarget{std::move(*host), std::move(*community), *index};
}

PortTargets TargetsOf(const TcpIpPortValues& port) {
    PortTargets targets;
    targets.snmp = SnmpTargetOf(port);
    if (!targets.snmp) targets.guessHost = HostOf(port);
    return targets;
}

} // namespace ambervale
