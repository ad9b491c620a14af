#include "snmp/PrinterAlertTable.h"

#include <algorithm>
#include <map>
#include <set>

#include "asking/AlertText.h"
#include "asking/PrinterAlerts.h"
#include "snmp/TableRead.h"

namespace ambervale {
namespace {

// prtAlertEntry (1.3.6.1.2.1.43.18.1.1) columns, walked in this order. Its location and time say nothing the
// program shows.
constexpr std::uint32_t kAlertColumns[] = {2 /* severity */, 4 /* group */, 7 /* code */, 8 /* description */};
constexpr std::size_t kSeverity = 0, kGroup = 1, kCode = 2, kDescription = 3;

std::optional<std::int32_t> IntegerAt(const std::map<std::uint32_t, SnmpValue>& rows, std::uint32_t index) {
    const auto found = rows.find(index);
    if (found == rows.end() || found->second.kind != SnmpValue::Kind::Integer) return std::nullopt;
    return found->second.integer;
}

std::optional<std::string> TextAt(const std::map<std::uint32_t, SnmpValue>& rows, std::uint32_t index) {
    const auto found = rows.find(index);
    if (found == rows.end() || found->second.kind != SnmpValue::Kind::OctetString) return std::nullopt;
    const auto& octets = found->second.octets;
    return std::string(reinterpret_cast<const char*>(octets.data()), octets.size());
}

bool WouldShowOutsideAscii(const AlertRow& row) {
    return row.severity && AlertSeverityOf(*row.severity) && row.description &&
           std::any_of(row.description->begin(), row.description->end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

std::vector<PrinterAlert> AlertsOfRows(const std::vector<AlertRow>& rows, std::optional<std::uint32_t> characterSet,
                                       ForeignText* text) {
    std::vector<PrinterAlert> alerts;
    for (const AlertRow& row : rows) {
        if (!row.severity || !row.description) continue;
        const std::optional<PrinterAlert::Severity> severity = AlertSeverityOf(*row.severity);
        if (!severity || !NamesAProblem(*severity, row.group, row.code)) continue;
        alerts.push_back({*severity, AlertText(*row.description, characterSet, text)});
    }
    return KeptAlerts(std::move(alerts));
}

void PrinterAlertTable::Update(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                               std::uint32_t state, AskClock::time_point now, AskClock::time_point deadline) {
    const std::tuple<std::string, std::string, std::uint32_t> printer{target.host, target.community,
                                                                      target.deviceIndex};
    if (printer_ != printer) {
        // Another printer: nothing of the last one's holds.
        *this = PrinterAlertTable(text_);
        printer_ = printer;
        state_ = state;
        nextRead_ = now;
    }
    const bool newState = state != state_;
    if (!newState && now < nextRead_) return;
    state_ = state;
    const std::optional<std::size_t> rows = Read(target, conversation, ids, deadline);
    if (!rows && newState) alerts_.clear();
    nextRead_ = now + (rows == 0u ? kEmptyAlertTableReadEvery : kAlertsReadEvery);
}

std::optional<std::size_t> PrinterAlertTable::Read(const SnmpTarget& target, SnmpConversation& conversation,
                                                   RequestIds& ids, AskClock::time_point deadline) {
    std::vector<WalkColumn> columns;
    for (const std::uint32_t column : kAlertColumns) {
        columns.push_back({{1, 3, 6, 1, 2, 1, 43, 18, 1, 1, column, target.deviceIndex}, kMaxAlertRows});
    }
    const std::optional<TableWalk> walk = WalkColumns(std::move(columns), target, conversation, ids, deadline);
    if (!walk) return std::nullopt;
    std::set<std::uint32_t> indexes;
    for (std::size_t column = 0; column < std::size(kAlertColumns); ++column) {
        for (const auto& row : walk->Rows(column)) indexes.insert(row.first);
    }
    std::vector<AlertRow> rows;
    for (const std::uint32_t index : indexes) {
        if (rows.size() == kMaxAlertRows) break;
        rows.push_back({IntegerAt(walk->Rows(kSeverity), index), IntegerAt(walk->Rows(kGroup), index),
                        IntegerAt(walk->Rows(kCode), index), TextAt(walk->Rows(kDescription), index)});
    }
    if (text_ && !characterSet_ && std::any_of(rows.begin(), rows.end(), WouldShowOutsideAscii)) {
        characterSet_ = PrinterCharacterSet(target, conversation, ids, deadline);
    }
    alerts_ = AlertsOfRows(rows, characterSet_, text_);
    return rows.size();
}

} // namespace ambervale
