#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/ForeignText.h"
#include "printer/Supplies.h"
#include "snmp/SnmpTransport.h"
#include "snmp/TableWalk.h"
#include "asking/TcpIpPort.h"

namespace ambervale {

// How often the supplies table is read: its descriptions, types, classes and capacities once an hour (and when its
// rows change); its levels and the page count once a minute (a second less, for the slack of a one-minute timer).
inline constexpr std::chrono::hours kSuppliesDescribedEvery{1};
inline constexpr std::chrono::seconds kSupplyLevelsEvery{59};

// The printer's supplies (prtMarkerSuppliesTable) and page count (prtMarkerLifeCount), as the printer said them when
// last read, for one printer (address, community and device index: another community may see another device); kept
// between entries so that each entry costs at most the reads that are due. Not thread-safe: one entry at a time asks
// it.
class PrinterSupplies {
public:
    // text: turns descriptions in a character set the printer names into ANSI text; nullptr for ASCII alone.
    explicit PrinterSupplies(ForeignText* text) : text_(text) {}

    // Reads what is due at now, within deadline, over a conversation whose printer has just answered.
    void Update(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids, AskClock::time_point now,
                AskClock::time_point deadline);

    const std::vector<Supply>& Supplies() const { return supplies_; }
    std::optional<std::uint64_t> Pages() const { return pages_; }

private:
    struct Row {
        std::uint32_t index = 0;
        Supply supply;
        std::optional<std::int32_t> maxCapacity;
    };
    bool ReadAll(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                 AskClock::time_point deadline);
    // False when the rows are no longer the ones described.
    bool ReadLevels(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                    AskClock::time_point deadline);
    void Publish();

    ForeignText* text_;
    std::optional<std::tuple<std::string, std::string, std::uint32_t>> printer_;  // whose supplies these are
    AskClock::time_point nextDescribe_{};
    AskClock::time_point nextLevels_{};
    std::vector<Row> rows_;
    std::vector<Supply> supplies_;
    std::optional<std::uint64_t> pages_;
};

} // namespace ambervale
