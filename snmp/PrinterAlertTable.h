#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "asking/AskClock.h"
#include "asking/RequestIds.h"
#include "asking/TcpIpPort.h"
#include "base/ForeignText.h"
#include "printer/PrinterOwnReport.h"
#include "snmp/PrinterSupplies.h"
#include "snmp/SnmpTransport.h"
#include "snmp/TableWalk.h"

namespace ambervale {

// The alert table is read with the supplies' levels, once a minute while the printer's state stays the same; once an
// hour while it holds no row at all, as a healthy printer's does.
inline constexpr auto kAlertsReadEvery = kSupplyLevelsEvery;
inline constexpr auto kEmptyAlertTableReadEvery = kSuppliesDescribedEvery;
// More rows than this are not read: a printer keeps a handful, and one that claims more is answering nonsense.
inline constexpr std::size_t kMaxAlertRows = 32;

// What one walk of prtAlertTable read of a row: its severity, group, code and description, each nullopt when the
// agent gave none of the right type.
struct AlertRow {
    std::optional<std::int32_t> severity;
    std::optional<std::int32_t> group;
    std::optional<std::int32_t> code;
    std::optional<std::string> description;  // the bytes as they came
};

// The printer's own words of what is wrong from its rows: those of severity critical or warning whose group and code
// name a problem, their descriptions made safe to show (in characterSet where text can read it), most severe first,
// at most kPrinterAlertLimit.
std::vector<PrinterAlert> AlertsOfRows(const std::vector<AlertRow>& rows, std::optional<std::uint32_t> characterSet,
                                       ForeignText* text);

// The printer's alert table (the Printer MIB's prtAlertTable), as last read, for one printer (address, community and
// device index). Read once a minute (once an hour while it is empty), and at once when the printer's state is not the
// one it was last read in: the entry that shows a new state carries that state's reason. Within the question's budget: when the budget is spent
// first, the entry goes without, and a new state's words are not taken from an older reading. Not thread-safe: one
// entry at a time asks it.
class PrinterAlertTable {
public:
    // text: turns descriptions in a character set the printer names into ANSI text; nullptr for ASCII alone.
    explicit PrinterAlertTable(ForeignText* text) : text_(text) {}

    // Reads the table if due at now, within deadline, over a conversation whose printer has just answered in state
    // (its status-table bits).
    void Update(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids, std::uint32_t state,
                AskClock::time_point now, AskClock::time_point deadline);

    const std::vector<PrinterAlert>& Alerts() const { return alerts_; }

private:
    // The rows the table held; nullopt when the walk did not end within deadline.
    std::optional<std::size_t> Read(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                                    AskClock::time_point deadline);

    ForeignText* text_;
    std::optional<std::tuple<std::string, std::string, std::uint32_t>> printer_;  // whose table this is
    std::uint32_t state_ = 0;                                                     // the state it was read in
    AskClock::time_point nextRead_{};
    std::optional<std::uint32_t> characterSet_;  // once the printer has said it
    std::vector<PrinterAlert> alerts_;
};

} // namespace ambervale
