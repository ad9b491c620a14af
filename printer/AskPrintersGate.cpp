#include "printer/AskPrintersGate.h"

namespace ambervale {

bool PrintersMayBeAsked(std::optional<std::uint32_t> machinePolicy, std::optional<std::uint32_t> userPolicy) {
    const std::optional<std::uint32_t> policy = machinePolicy ? machinePolicy : userPolicy;
    return policy != 0u;
}

} // namespace ambervale
