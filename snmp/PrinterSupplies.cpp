#include "snmp/PrinterSupplies.h"

#include <algorithm>
#include <set>

#include "snmp/TableRead.h"

namespace ambervale {
namespace {

// prtMarkerSuppliesEntry (1.3.6.1.2.1.43.11.1.1) columns, and prtMarkerLifeCount (1.3.6.1.2.1.43.10.2.1.4).
constexpr std::uint32_t kClassColumn = 4;
constexpr std::uint32_t kTypeColumn = 5;
constexpr std::uint32_t kDescriptionColumn = 6;
constexpr std::uint32_t kUnitColumn = 7;
constexpr std::uint32_t kMaxCapacityColumn = 8;
constexpr std::uint32_t kLevelColumn = 9;
constexpr std::uint32_t kFirstMarker = 1;

ObjectArcs SuppliesColumn(std::uint32_t column, std::uint32_t deviceIndex) {
    return {1, 3, 6, 1, 2, 1, 43, 11, 1, 1, column, deviceIndex};
}
WalkColumn LifeCountColumn(std::uint32_t deviceIndex) {
    return {{1, 3, 6, 1, 2, 1, 43, 10, 2, 1, 4, deviceIndex}, 1};
}

// The columns of a whole read, in this order; a read of the levels has the last two only.
std::vector<WalkColumn> AllColumns(std::uint32_t deviceIndex) {
    std::vector<WalkColumn> columns;
    for (const std::uint32_t column :
         {kClassColumn, kTypeColumn, kDescriptionColumn, kUnitColumn, kMaxCapacityColumn, kLevelColumn}) {
        columns.push_back({SuppliesColumn(column, deviceIndex), kMaxSupplies});
    }
    columns.push_back(LifeCountColumn(deviceIndex));
    return columns;
}
constexpr std::size_t kAllClass = 0, kAllType = 1, kAllDescription = 2, kAllMax = 4, kAllLevel = 5, kAllLife = 6;

std::optional<std::int32_t> IntegerAt(const std::map<std::uint32_t, SnmpValue>& rows, std::uint32_t index) {
    const auto found = rows.find(index);
    if (found == rows.end() || found->second.kind != SnmpValue::Kind::Integer) return std::nullopt;
    return found->second.integer;
}

std::optional<std::uint64_t> PagesOf(const std::map<std::uint32_t, SnmpValue>& rows) {
    const auto found = rows.find(kFirstMarker);
    if (found == rows.end()) return std::nullopt;
    if (found->second.kind == SnmpValue::Kind::Unsigned) return found->second.unsignedValue;
    // Some agents send the counter as an INTEGER.
    if (found->second.kind == SnmpValue::Kind::Integer && found->second.integer >= 0) {
        return static_cast<std::uint64_t>(found->second.integer);
    }
    return std::nullopt;
}

bool HasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string_view AsText(const std::vector<std::byte>& octets) {
    return {reinterpret_cast<const char*>(octets.data()), octets.size()};
}

} // namespace

void PrinterSupplies::Update(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                             AskClock::time_point now, AskClock::time_point deadline) {
    const std::tuple<std::string, std::string, std::uint32_t> printer{target.host, target.community,
                                                                      target.deviceIndex};
    if (printer_ != printer) {
        // Another printer: nothing of the last one's holds.
        *this = PrinterSupplies(text_);
        printer_ = printer;
        nextDescribe_ = nextLevels_ = now;
    }
    if (now >= nextDescribe_) {
        if (ReadAll(target, conversation, ids, deadline)) {
            nextDescribe_ = now + kSuppliesDescribedEvery;
            nextLevels_ = now + kSupplyLevelsEvery;
        } else {
            nextDescribe_ = now + kSupplyLevelsEvery;  // a printer too slow for the whole table tries again later
        }
        return;
    }
    if (now < nextLevels_ || rows_.empty()) return;
    const bool sameRows = ReadLevels(target, conversation, ids, deadline);
    nextLevels_ = now + kSupplyLevelsEvery;
    if (!sameRows) {
        // A supply came or went: what each row is must be read again, now if the budget allows.
        nextDescribe_ = now;
        if (AskClock::now() < deadline && ReadAll(target, conversation, ids, deadline)) {
            nextDescribe_ = now + kSuppliesDescribedEvery;
        }
    }
}

bool PrinterSupplies::ReadAll(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                              AskClock::time_point deadline) {
    const std::optional<TableWalk> walk =
        WalkColumns(AllColumns(target.deviceIndex), target, conversation, ids, deadline);
    if (!walk) return false;
    std::set<std::uint32_t> indexes;
    for (const std::size_t column : {kAllClass, kAllType, kAllDescription, kAllMax, kAllLevel}) {
        for (const auto& row : walk->Rows(column)) indexes.insert(row.first);
    }
    const auto& descriptions = walk->Rows(kAllDescription);
    const bool foreign = std::any_of(descriptions.begin(), descriptions.end(), [](const auto& row) {
        return row.second.kind == SnmpValue::Kind::OctetString && HasNonAscii(AsText(row.second.octets));
    });
    const std::optional<std::uint32_t> characterSet =
        foreign && text_ ? PrinterCharacterSet(target, conversation, ids, deadline) : std::nullopt;

    std::vector<Row> rows;
    for (const std::uint32_t index : indexes) {
        if (rows.size() == kMaxSupplies) break;
        Row row;
        row.index = index;
        row.supply.index = index;
        row.supply.type = IntegerAt(walk->Rows(kAllType), index).value_or(supply_type::kUnknown);
        row.supply.supplyClass = IntegerAt(walk->Rows(kAllClass), index).value_or(supply_class::kOther);
        const auto description = descriptions.find(index);
        if (description != descriptions.end() && description->second.kind == SnmpValue::Kind::OctetString) {
            row.supply.description = DescriptionText(AsText(description->second.octets), characterSet, text_);
        }
        row.maxCapacity = IntegerAt(walk->Rows(kAllMax), index);
        const std::optional<std::int32_t> level = IntegerAt(walk->Rows(kAllLevel), index);
        if (level && row.maxCapacity) row.supply.percent = SupplyPercent(*level, *row.maxCapacity);
        rows.push_back(std::move(row));
    }
    rows_ = std::move(rows);
    pages_ = PagesOf(walk->Rows(kAllLife));
    Publish();
    return true;
}

bool PrinterSupplies::ReadLevels(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                                 AskClock::time_point deadline) {
    std::vector<WalkColumn> columns = {{SuppliesColumn(kLevelColumn, target.deviceIndex), kMaxSupplies},
                                       LifeCountColumn(target.deviceIndex)};
    const std::optional<TableWalk> walk = WalkColumns(std::move(columns), target, conversation, ids, deadline);
    if (!walk) return true;  // the levels stay as last read
    const auto& levels = walk->Rows(0);
    for (Row& row : rows_) {
        const std::optional<std::int32_t> level = IntegerAt(levels, row.index);
        row.supply.percent = level && row.maxCapacity ? SupplyPercent(*level, *row.maxCapacity) : std::nullopt;
    }
    pages_ = PagesOf(walk->Rows(1));
    Publish();
    // Every described row has a level column entry and no other row has, or a supply came or went. A printer
    // without levels for its supplies keeps its rows.
    if (levels.empty()) return true;
    if (levels.size() != rows_.size()) return false;
    return std::all_of(rows_.begin(), rows_.end(), [&](const Row& row) { return levels.count(row.index) == 1; });
}

void PrinterSupplies::Publish() {
    supplies_.clear();
    for (const Row& row : rows_) supplies_.push_back(row.supply);
}

} // namespace ambervale
