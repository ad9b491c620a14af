#include "base/Policy.h"

#include <algorithm>

namespace ambervale {
namespace {

std::optional<std::uint32_t> UsableValue(const PolicyRule& rule, const std::optional<PolicyData>& data) {
    if (!data || data->type != kRegDword || data->bytes.size() != sizeof(std::uint32_t)) return std::nullopt;
    // REG_DWORD is little-endian on every Windows.
    std::uint32_t value = 0;
    for (std::size_t i = sizeof value; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(data->bytes[i]);
    }
    if (!rule.allowed.empty() && std::find(rule.allowed.begin(), rule.allowed.end(), value) == rule.allowed.end()) {
        return std::nullopt;
    }
    return value;
}

template <class Read>
std::optional<std::uint32_t> ReadRule(const PolicyRule& rule, Read&& read) noexcept {
    try {
        return read(rule);
    } catch (...) {
        return std::nullopt;  // no memory for the value's name: no policy could be read, so none applies
    }
}

} // namespace

std::optional<std::uint32_t> PolicyValue(const PolicyRule& rule, std::optional<PolicyData> machine,
                                         std::optional<PolicyData> user) {
    if (const auto value = UsableValue(rule, machine)) return value;
    return UsableValue(rule, user);
}

bool PolicyAllows(const PolicyRule& rule, PolicySource& source) noexcept {
    const auto value = ReadRule(rule, [&](const PolicyRule& r) {
        return PolicyValue(r, source.Machine(r.name), source.User(r.name));
    });
    return value != 0u;
}

std::optional<bool> PolicyHolds(const PolicyRule& rule, PolicySource& source) noexcept {
    const auto value = ReadRule(rule, [&](const PolicyRule& r) {
        return PolicyValue(r, source.Machine(r.name), source.User(r.name));
    });
    if (!value) return std::nullopt;
    return *value == 1u;
}

Policies ReadPolicies(PolicySource& source) noexcept {
    auto read = [&](const PolicyRule& rule) {
        return ReadRule(rule, [&](const PolicyRule& r) {
            return PolicyValue(r, source.Machine(r.name), source.User(r.name));
        });
    };
    Policies policies;
    policies.eventLog = read(kEventLogPolicy) != 0u;
    policies.askPrinters = read(kAskPrintersPolicy) != 0u;
    if (const auto seconds = read(kLogIntervalPolicy)) {
        policies.logIntervalSeconds = static_cast<std::int32_t>(*seconds);
    }
    if (const auto on = read(kAutomaticLogPolicy)) policies.automaticLog = *on == 1u;
    if (const auto on = read(kStartWithWindowsPolicy)) policies.startWithWindows = *on == 1u;
    policies.notify = PolicyHolds(kNotifyPolicy, source);
    return policies;
}

} // namespace ambervale
