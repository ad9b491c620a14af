#include "asking/RequestIds.h"

#include <exception>

#include "asking/AskClock.h"

namespace ambervale {

RandomRequestIds::RandomRequestIds() {
    try {
        std::random_device device;
        generator_.seed(device());
    } catch (const std::exception&) {
        // No source of randomness: the time of the start still differs from run to run.
        generator_.seed(static_cast<std::uint32_t>(AskClock::now().time_since_epoch().count()));
    }
}

std::int32_t RandomRequestIds::Next() {
    std::uniform_int_distribution<std::int32_t> range(1, 0x7FFFFFFF);
    return range(generator_);
}

} // namespace ambervale
