#pragma once
#include <cstdint>
#include <optional>

namespace ambervale {

// The rule of the program's policy values (EventLog, AskPrinters): the machine's value when it has one, else the
// user's; on when neither has one. Only 0 turns a thing off.
constexpr bool PolicyAllows(std::optional<std::uint32_t> machinePolicy, std::optional<std::uint32_t> userPolicy) {
    const std::optional<std::uint32_t> policy = machinePolicy ? machinePolicy : userPolicy;
    return policy != 0u;
}

} // namespace ambervale
