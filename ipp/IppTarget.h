#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "asking/TcpIpPort.h"

namespace ambervale {

// Where the printer is asked over IPP: an HTTP POST to host:port/path, TLS when secure, about printerUri.
struct IppTarget {
    bool secure = false;
    std::string host;  // a name or an address, an IPv6 address without brackets
    std::uint16_t port = 631;
    std::string path;        // from its '/', as the URL has it
    std::string printerUri;  // the ipp: or ipps: URI the request names

    bool operator==(const IppTarget&) const = default;
};

// A port named by a printer's URL (Windows' Internet Printing ports): http://, https://, ipp:// or ipps://, any case;
// ipp is http on port 631, ipps https on 631. nullopt for any other name, and for a URL with user information, an
// unusable host, a bad port number or a character that no URL has.
std::optional<IppTarget> IppTargetOfUrl(const std::string& portName);

// A Standard TCP/IP port whose printer is not asked over SNMP (its box unchecked, or values SNMP cannot use) but whose
// host is usable: the IPP Everywhere address ipp://<host>:631/ipp/print. nullopt when SNMP asks it, or no host.
std::optional<IppTarget> IppTargetOfTcpIpPort(const TcpIpPortValues& port);

} // namespace ambervale
