#pragma once
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "eventlog/Event.h"
#include "eventlog/EventLogOutput.h"

namespace ambervale {

// Events as the failure messages show them: "200 Error [Front Desk|Off Line|...]".
inline void PrintTo(const Event& event, std::ostream* out) {
    static constexpr const char* kLevels[] = {"Information", "Warning", "Error"};
    *out << static_cast<int>(event.id) << ' ' << kLevels[static_cast<int>(event.level)] << " [";
    for (std::size_t i = 0; i < event.strings.size(); ++i) *out << (i ? "|" : "") << event.strings[i];
    *out << ']';
}

namespace testing {

// Keeps every event, and each call apart; may be told to refuse them.
class FakeEventWriter : public EventWriter {
public:
    void Write(std::span<const Event> batch) override {
        ++calls;
        if (failure) throw AppError(*failure);
        events.insert(events.end(), batch.begin(), batch.end());
    }
    std::vector<Event> events;
    int calls = 0;
    std::optional<std::string> failure;
};

// A monotonic clock that stands where the test puts it.
class FakeSecondsClock : public SecondsClock {
public:
    std::int64_t Seconds() override {
        ++reads;
        return now;
    }
    std::int64_t now = 0;
    int reads = 0;
};

} // namespace testing
} // namespace ambervale
