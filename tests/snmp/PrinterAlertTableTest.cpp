// The printer's alert table in the shapes real printers' tables have, what of it each status shows, and when the
// table is read.
#include "snmp/PrinterAlertTable.h"

#include <gtest/gtest.h>

#include "eventlog/PrinterSays.h"
#include "fakes/FakeIpp.h"
#include "fakes/FakeSnmp.h"
#include "asking/AskOutcome.h"
#include "printer/StatusBits.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;
using namespace std::chrono_literals;
using namespace std::string_literals;
using namespace status_bit;

// Rows as (severity, group, code, description); severity 3 is critical, 4 and 5 warnings, 1 other.
AlertRow Row(std::optional<int> severity, int group, int code, std::string description) {
    return {severity, group, code, std::move(description)};
}

TEST(PrinterAlertTable, RealPrintersRowsExplainOnlyTheStatusTheEntryEarned) {
    FakeForeignText utf8;
    const struct {
        const char* printer;
        std::uint32_t status;
        std::vector<AlertRow> rows;
        std::string shows;
        std::optional<std::uint32_t> set = std::nullopt;
    } cases[] = {
        {"Epson inkjet, Printer Error  Off Line", kError | kOffline,
         {Row(1, 5, 1, "Printer is busy."),
          Row(3, 11, 1110, "The Maintenance Box is at the end of its service life. You need to replace it.")},
         "The Maintenance Box is at the end of its service life. You need to replace it."},
        {"Epson, Ready with a warning", 0,
         {Row(4, 11, 1108, "The Maintenance Box is nearing end of its service life.")}, ""},
        {"HP, Printer Error", kError, {Row(3, 8, 1, "Media Error: Media Mismatch")}, "Media Error: Media Mismatch"},
        {"Epson inks low", kTonerLow, {Row(4, 11, 1105, "Ink low. C"), Row(4, 11, 1105, "Ink low. Y")}, "Ink low. C"},
        {"Epson ink out: the critical first", kNoToner,
         {Row(4, 11, 1105, "Ink low. C"), Row(3, 11, 1102, "Ink is expended. BK2")}, "Ink is expended. BK2"},
        {"a paused printer is told a warning, never a critical", kPaused,
         {Row(3, 11, 1102, "Ink is expended. BK2"), Row(5, 8, 807, "Tray 2 low")}, "Tray 2 low"},
        {"asleep: no row names a problem", kOffline,
         {Row(4, 5, 23, "Sleep"), Row(4, 5, 507, "Ready"), Row(1, 5, 1, "Idle"), Row(4, 18, 1801, "Removed"),
          Row(5, 8, 25, "Tray 3 added"), Row(std::nullopt, 8, 808, "Tray 1 empty"), Row(3, 6, 4, "Cover closed")},
         ""},
        {"Kyocera asleep with low toner", kTonerLow,
         {Row(4, 10, 1001, "fuser under temperature"), Row(4, 11, 1104, "Toner is low.")}, "Toner is low."},
        {"a fuser that will not heat", kError, {Row(3, 10, 1001, "Fuser error C6000")}, "Fuser error C6000"},
        {"several criticals: the printer's first", kPaperJam | kDoorOpen,
         {Row(3, 13, 8, "Paper jam in duplex unit"), Row(3, 6, 3, "Front cover open")}, "Paper jam in duplex unit"},
        {"UTF-8 named", kPaperOut, {Row(3, 8, 808, "Bac 1 vid\xC3\xA9")}, "Bac 1 vid#", charset::kUtf8},
        {"UTF-8 unnamed", kPaperOut, {Row(3, 8, 808, "Bac 1 vid\xC3\xA9")}, "Bac 1 vid??"},
        {"10,000 characters", kError, {Row(3, 5, 1, std::string(10000, 'A'))}, std::string(157, 'A') + "..."},
        {"binary garbage", kError, {Row(3, 5, 1, "\0\x01\xFF\xFE\x1B\x7F"s), Row(3, 5, 1, "\0\n"s)}, "??"},
    };
    for (const auto& c : cases) {
        const std::vector<PrinterAlert> alerts = AlertsOfRows(c.rows, c.set, &utf8);
        const PrinterAlert* says = ExplainingAlert(c.status, alerts);
        EXPECT_EQ(says ? says->text : "", c.shows) << c.printer;
    }
    std::vector<AlertRow> many;
    for (int i = 0; i < 9; ++i) many.push_back(Row(4 - i % 2, 5, 1, "Alert " + std::to_string(i % 6)));
    const std::vector<PrinterAlert> kept = AlertsOfRows(many, std::nullopt, nullptr);
    ASSERT_EQ(kept.size(), kPrinterAlertLimit);
    EXPECT_EQ(kept[0], (PrinterAlert{PrinterAlert::Severity::Critical, "Alert 1"}));
    EXPECT_EQ(kept[3], (PrinterAlert{PrinterAlert::Severity::Warning, "Alert 0"}));
}

TEST(PrinterAlertTable, IsReadOnceAMinuteOrHourAndAtOnceInANewStateWhichAnOlderReadingNeverExplains) {
    FakeMibAgent agent;
    const auto put = [&](std::string_view words) {
        agent.mib[{1, 3, 6, 1, 2, 1, 43, 18, 1, 1, 2, 1, 7}] = BerInteger(3);
        agent.mib[{1, 3, 6, 1, 2, 1, 43, 18, 1, 1, 4, 1, 7}] = BerInteger(13);
        agent.mib[{1, 3, 6, 1, 2, 1, 43, 18, 1, 1, 7, 1, 7}] = BerInteger(8);
        agent.mib[{1, 3, 6, 1, 2, 1, 43, 18, 1, 1, 8, 1, 7}] =
            BerElement(ber::kOctetString, std::as_bytes(std::span(words.data(), words.size())));
    };
    put("Jam in tray 1");
    agent.mib[{1, 3, 6, 1, 2, 1, 43, 19, 1, 1, 2, 1, 1}] = BerInteger(0);  // what follows the table
    CountingRequestIds ids;
    PrinterAlertTable table(nullptr);
    const SnmpTarget target{"printer", "public", 1};
    const AskClock::time_point t0{};
    const auto update = [&](std::uint32_t state, AskClock::duration at, bool budgetLeft = true) {
        auto conversation = agent.Open("printer", {}).conversation;
        const int before = agent.alertGetNexts;
        table.Update(target, *conversation, ids, state, t0 + at, AskClock::now() + (budgetLeft ? 1s : -1s));
        return std::to_string(agent.alertGetNexts - before) + ":" + (table.Alerts().empty() ? "" : table.Alerts()[0].text);
    };
    EXPECT_EQ(update(kPaperJam, 0s), "2:Jam in tray 1");
    put("Jam in tray 2");
    EXPECT_EQ(update(kPaperJam, 58s), "0:Jam in tray 1") << "within the minute";
    EXPECT_EQ(update(kPaperJam | kDoorOpen, 59s), "2:Jam in tray 2") << "a new state";
    put("Jam in tray 3");
    EXPECT_EQ(update(kPaperJam | kDoorOpen, 118s), "2:Jam in tray 3") << "the minute is over";
    EXPECT_EQ(update(kPaperJam, 119s, false), "0:") << "no budget left for a new state: the entry goes without";
    EXPECT_EQ(update(kPaperJam, 120s), "0:") << "and the next reading is a minute on";
    EXPECT_EQ(update(kPaperJam, 179s), "2:Jam in tray 3");

    // The words reach the entry with an answer alone (the end-to-end test follows them from the agent to the event).
    for (AskOutcome outcome : {AskOutcome::Silence(), AskOutcome::NotSpoken(), AskOutcome::NotAsked("no socket")}) {
        outcome.alerts = {{PrinterAlert::Severity::Critical, "Jam in tray 3"}};
        PrinterOwnReport nothing;
        AddToEntry(outcome, nothing);
        EXPECT_TRUE(nothing.alerts.empty()) << static_cast<int>(outcome.kind);
    }
    for (const std::uint32_t column : {2, 4, 7, 8}) agent.mib.erase({1, 3, 6, 1, 2, 1, 43, 18, 1, 1, column, 1, 7});
    agent.mib.erase({1, 3, 6, 1, 2, 1, 43, 19, 1, 1, 2, 1, 1});
    EXPECT_EQ(update(kPaperJam, 238s), "1:") << "the end of an SNMPv1 agent's MIB ends every column at once";
    EXPECT_EQ(update(kPaperJam, 297s), "0:") << "an empty table is read again after an hour";
    EXPECT_EQ(update(kPaperOut, 298s), "1:") << "or in a new state";
}

} // namespace
} // namespace ambervale
