#include "ipp/IppTarget.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace ambervale {
namespace {

constexpr std::uint16_t kIppPort = 631;
constexpr std::uint16_t kHttpPort = 80;
constexpr std::uint16_t kHttpsPort = 443;
constexpr std::size_t kMaxUrl = 1024;
constexpr std::size_t kMaxHost = 255;
constexpr char kEverywherePath[] = "/ipp/print";

struct Scheme {
    std::string_view name;
    bool secure;
    std::uint16_t defaultPort;
};
constexpr Scheme kSchemes[] = {
    {"http", false, kHttpPort}, {"https", true, kHttpsPort}, {"ipp", false, kIppPort}, {"ipps", true, kIppPort}};

bool IsNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}
bool IsAddress6Character(char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; }

// Printable ASCII without blanks: what a URL may hold.
bool IsUrlText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c < 0x7F && c != '\\'; });
}

std::optional<std::uint16_t> PortNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    unsigned number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    if (number == 0 || number > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(number);
}

// The URI the request names: ipp or ipps, the port always written out, an IPv6 address in brackets with its zone's
// '%' escaped.
std::string PrinterUri(bool secure, const std::string& host, std::uint16_t port, const std::string& path) {
    std::string uriHost = host;
    if (host.find(':') != std::string::npos) {
        uriHost = "[";
        for (const char c : host) uriHost += c == '%' ? std::string("%25") : std::string(1, c);
        uriHost += "]";
    }
    return std::string(secure ? "ipps" : "ipp") + "://" + uriHost + ":" + std::to_string(port) + path;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

} // namespace

std::optional<IppTarget> IppTargetOfUrl(const std::string& portName) {
    if (portName.size() > kMaxUrl || !IsUrlText(portName)) return std::nullopt;
    const std::size_t schemeEnd = portName.find("://");
    if (schemeEnd == std::string::npos) return std::nullopt;
    const std::string scheme = Lower(std::string_view(portName).substr(0, schemeEnd));
    const auto known = std::find_if(std::begin(kSchemes), std::end(kSchemes),
                                    [&](const Scheme& s) { return s.name == scheme; });
    if (known == std::end(kSchemes)) return std::nullopt;

    const std::string_view rest = std::string_view(portName).substr(schemeEnd + 3);
    const std::size_t pathStart = std::min(rest.find('/'), rest.size());
    std::string_view authority = rest.substr(0, pathStart);
    const std::string path = pathStart < rest.size() ? std::string(rest.substr(pathStart)) : std::string("/");
    // Credentials in a URL are never sent, and a port named with them is not asked at all.
    if (authority.find('@') != std::string_view::npos) return std::nullopt;

    std::string_view host;
    std::string_view portText;
    bool bracketed = false;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = authority.substr(1, close - 1);
        authority.remove_prefix(close + 1);
        if (!authority.empty() && authority.front() != ':') return std::nullopt;
        bracketed = true;
    } else {
        host = authority.substr(0, std::min(authority.find(':'), authority.size()));
        authority.remove_prefix(host.size());
    }
    if (!authority.empty()) {
        portText = authority.substr(1);
        if (portText.empty()) return std::nullopt;
    }
    if (host.empty() || host.size() > kMaxHost) return std::nullopt;
    const bool hostOk = bracketed ? std::all_of(host.begin(), host.end(), IsAddress6Character)
                                  : std::all_of(host.begin(), host.end(), IsNameCharacter);
    if (!hostOk) return std::nullopt;
    std::uint16_t port = known->defaultPort;
    if (!portText.empty()) {
        const auto number = PortNumber(portText);
        if (!number) return std::nullopt;
        port = *number;
    }
    IppTarget target{known->secure, std::string(host), port, path, ""};
    target.printerUri = PrinterUri(target.secure, target.host, target.port, target.path);
    return target;
}

std::optional<IppTarget> IppTargetOfTcpIpPort(const TcpIpPortValues& port) {
    const std::optional<std::string> host = TargetsOf(port).guessHost;  // none while SNMP asks it: never both
    if (!host) return std::nullopt;
    IppTarget target{false, *host, kIppPort, kEverywherePath, ""};
    target.printerUri = PrinterUri(false, target.host, target.port, target.path);
    return target;
}

} // namespace ambervale
