// The change tracker through scripted sequences of entries, with the clock in the test's hands.
#include "eventlog/ChangeTracker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/FakeEventLog.h"

namespace ambervale {
namespace {

using Events = std::vector<Event>;

constexpr std::uint32_t kReady = 0x0;
constexpr std::uint32_t kOffLine = 0x80;
constexpr std::uint32_t kPaperJam = 0x8;
constexpr std::uint32_t kTonerLow = 0x20000;
constexpr std::uint32_t kPrinting = 0x400;
constexpr EventLevel kInfo = EventLevel::Information;
constexpr EventLevel kWarning = EventLevel::Warning;
constexpr EventLevel kError = EventLevel::Error;

// One period of automatic logging of the printer "Front Desk" (driver "Generic Laser", port "LPT1:"); each entry's
// date-time text is "t" and its second.
struct Logging {
    explicit Logging(std::string_view interval = "Log every 1 second") {
        EXPECT_TRUE(tracker.LoggingSwitched(true, interval).empty()) << "the start waits for the first entry";
    }
    Events See(std::int64_t at, std::uint32_t status, std::string_view printer = "Front Desk") {
        when = "t" + std::to_string(at);
        return tracker.Saw({printer, status, "Generic Laser", "LPT1:", when}, at);
    }
    Events Fail(std::int64_t at, std::string_view description = "No default printer") {
        return tracker.Failed(description, at);
    }
    // An entry every second from `from` to `to`, the same status each time: the events of them all.
    Events Hold(std::int64_t from, std::int64_t to, std::uint32_t status) {
        Events all;
        for (std::int64_t at = from; at <= to; ++at) {
            for (Event& event : See(at, status)) all.push_back(std::move(event));
        }
        return all;
    }

    ChangeTracker tracker;
    std::string when;
};

Event Started(std::string status, std::string interval = "Log every 1 second", std::string printer = "Front Desk") {
    return {EventId::LoggingStarted, kInfo, {std::move(printer), std::move(status), std::move(interval)}};
}

Event Change(EventLevel level, std::string now, std::string before, std::string seconds, std::string lasted,
             std::string says = "") {
    return {level == kInfo ? EventId::StatusFine : EventId::StatusProblem,
            level,
            {"Front Desk", std::move(now), std::move(before), std::move(seconds), std::move(lasted), "Generic Laser",
             "LPT1:", std::move(says)}};
}

TEST(ChangeTracker, TheFirstEntryWritesTheStartWithItsStatusAndAnEntryThatChangesNothingWritesNothing) {
    Logging logging;
    EXPECT_EQ(logging.See(100, kOffLine), Events{Started("Off Line")});
    EXPECT_EQ(logging.Hold(101, 5000, kOffLine), Events{});
}

TEST(ChangeTracker, AChangeOfTheWordsSaysHowLongTheStatusBeforeLastedAndItsLevelIsThatOfTheWorstWord) {
    Logging logging;
    logging.See(0, kReady);
    EXPECT_EQ(logging.See(7980, kOffLine), Events{Change(kError, "Off Line", "Ready", "7980", "2 h 13 min")});
    EXPECT_EQ(logging.See(8040, kPaperJam | kOffLine), Events{Change(kError, "Off Line, Paper Jam", "Off Line", "60",
                                                                     "1 min")});
    EXPECT_EQ(logging.See(8045, kTonerLow), Events{Change(kWarning, "Toner Low", "Off Line, Paper Jam", "5", "5 s")});
    EXPECT_EQ(logging.See(8105, kPrinting | kTonerLow),
              Events{Change(kWarning, "Printing, Toner Low", "Toner Low", "60", "1 min")});
    EXPECT_EQ(logging.See(8106, kPrinting), Events{Change(kInfo, "Printing", "Printing, Toner Low", "1", "1 s")});
    EXPECT_EQ(logging.See(8107, kReady), Events{Change(kInfo, "Ready", "Printing", "1", "1 s")});
    // Only the words count (ten minutes on, when six changes are no longer within any ten minutes).
    EXPECT_EQ(logging.See(8800, kPrinting | 0x1000000),
              Events{Change(kInfo, "Printing", "Ready", "693", "11 min 33 s")});
    EXPECT_EQ(logging.See(8801, kPrinting), Events{}) << "a bit without a word beside a word";
    EXPECT_EQ(logging.See(8802, 0x800000), Events{Change(kError, "Unknown Status of 8388608", "Printing", "2", "2 s")});
    EXPECT_EQ(logging.See(8803, 0x1000000),
              Events{Change(kError, "Unknown Status of 16777216", "Unknown Status of 8388608", "1", "1 s")});
}

TEST(ChangeTracker, FlappingIsToldOnceAndTheStatusItSettlesOnTenMinutesAfterItsChange) {
    Logging logging;
    logging.See(0, kReady);
    Events events;
    // Off Line and back every 30 seconds: the seventh change within ten minutes is flapping.
    for (int change = 1; change <= 12; ++change) {
        for (Event& event : logging.See(change * 30, change % 2 ? kOffLine : kReady)) events.push_back(event);
    }
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[5], Change(kInfo, "Ready", "Off Line", "30", "30 s"));
    EXPECT_EQ(events[6], (Event{EventId::Flapping, kWarning, {"Front Desk", "7"}}));

    // The last change (at 360, to Ready) holds: nothing until it has held ten minutes, then that change alone.
    EXPECT_EQ(logging.Hold(361, 959, kReady), Events{});
    EXPECT_EQ(logging.See(960, kReady), Events{Change(kInfo, "Ready", "Off Line", "30", "30 s")});
    EXPECT_EQ(logging.Hold(961, 1000, kReady), Events{});
    EXPECT_EQ(logging.See(1060, kOffLine), Events{Change(kError, "Off Line", "Ready", "700", "11 min 40 s")})
        << "after settling, changes are told again";
}

TEST(ChangeTracker, SixChangesWithinTenMinutesOrSevenSpreadWiderAreNoFlapping) {
    Logging logging;
    logging.See(0, kReady);
    std::size_t told = 0;
    for (int change = 1; change <= 12; ++change) told += logging.See(change * 100, change % 2 ? kOffLine : kReady).size();
    EXPECT_EQ(told, 12u) << "never more than six changes within any ten minutes";
}

TEST(ChangeTracker, AnOutageIsToldOnceAndItsEndWithHowLongItLastedAndTheStatusWithHowLongItHeldBeforeIt) {
    Logging logging;
    logging.See(0, kReady);
    EXPECT_EQ(logging.Fail(60), (Events{{EventId::EntriesFail, kError, {"No default printer"}}}));
    EXPECT_EQ(logging.Fail(61, "The RPC server is unavailable."), Events{}) << "one outage, one event";
    EXPECT_EQ(logging.See(180, kReady),
              (Events{{EventId::EntriesWorkAgain, kInfo, {"Front Desk", "Ready", "120", "2 min"}}}));
    EXPECT_EQ(logging.See(181, kOffLine), Events{Change(kError, "Off Line", "Ready", "181", "3 min 1 s")})
        << "a status that held before and after the outage held all along";

    // A status that changed during an outage is told at its end, and lasted until the outage began.
    logging.Fail(481);
    EXPECT_EQ(logging.See(581, kReady),
              (Events{{EventId::EntriesWorkAgain, kInfo, {"Front Desk", "Ready", "100", "1 min 40 s"}},
                      Change(kInfo, "Ready", "Off Line", "300", "5 min")}));
}

TEST(ChangeTracker, HeartbeatOnceADayWhileTheStatusHolds) {
    Logging logging;
    logging.See(5, kOffLine);
    const Event heartbeat{EventId::Heartbeat, kInfo, {"Front Desk", "Off Line", "t5", "none reported", "unknown"}};
    EXPECT_EQ(logging.See(86404, kOffLine), Events{});
    EXPECT_EQ(logging.See(86405, kOffLine), Events{heartbeat});
    EXPECT_EQ(logging.See(86406, kOffLine), Events{});
    // Three days without an entry give one heartbeat, and the next comes on the status's own day.
    EXPECT_EQ(logging.See(4 * 86400 + 100, kOffLine), Events{heartbeat});
    EXPECT_EQ(logging.See(5 * 86400 + 4, kOffLine), Events{});
    EXPECT_EQ(logging.See(5 * 86400 + 5, kOffLine), Events{heartbeat});
    EXPECT_EQ(logging.See(5 * 86400 + 6, kReady).at(0).strings.at(3), "432001");
}

TEST(ChangeTracker, TheStartNamesTheIntervalInUseAtItsFirstEntryAndAnotherIntervalLaterWritesNothing) {
    Logging logging("Log every 24 hours");
    EXPECT_EQ(logging.tracker.LoggingSwitched(true, "Log every 5 seconds"), Events{});
    EXPECT_EQ(logging.See(5, kReady), Events{Started("Ready", "Log every 5 seconds")});
    EXPECT_EQ(logging.tracker.LoggingSwitched(true, "Log every 1 hour"), Events{});
}

TEST(ChangeTracker, ANewDefaultPrinterIsToldWithItsStatusAndTrackedAfresh) {
    Logging logging;
    logging.See(0, kReady);
    EXPECT_EQ(logging.See(50, kOffLine, "Back Office"),
              (Events{{EventId::PrinterChanged, kInfo, {"Back Office", "Off Line", "Front Desk"}}}));
    EXPECT_EQ(logging.See(51, kOffLine, "Back Office"), Events{});
}

TEST(ChangeTracker, AStopTellsTheStatusOfThatMomentAndTheNextPeriodStartsAfresh) {
    Logging logging;
    logging.See(0, kReady);
    logging.See(10, kOffLine);
    EXPECT_EQ(logging.tracker.LoggingSwitched(false, "Log every 1 second"),
              (Events{{EventId::LoggingStopped, kInfo, {"Front Desk", "Off Line"}}}));
    EXPECT_EQ(logging.See(20, kReady), Events{}) << "entries made while logging is off (log now) are not followed";
    EXPECT_EQ(logging.tracker.LoggingSwitched(false, ""), Events{});

    EXPECT_EQ(logging.tracker.LoggingSwitched(true, ""), Events{});
    EXPECT_EQ(logging.See(30, kReady), Events{Started("Ready", "no interval chosen")});
}

TEST(ChangeTracker, APeriodWithoutEntriesWritesNothingAndOneThatOnlyFailedSaysSo) {
    Logging quiet;
    EXPECT_EQ(quiet.tracker.LoggingSwitched(false, "Log every 1 second"), Events{});

    Logging failing;
    EXPECT_EQ(failing.Fail(5), (Events{Started("No default printer", "Log every 1 second", "(unknown)"),
                                      {EventId::EntriesFail, kError, {"No default printer"}}}));
    EXPECT_EQ(failing.tracker.LoggingSwitched(false, "Log every 1 second"),
              (Events{{EventId::LoggingStopped, kInfo, {"(unknown)", "No default printer"}}}));
}

} // namespace
} // namespace ambervale

namespace ambervale {
namespace {

Supply Toner(int percent, std::string name = "Black Toner", std::int32_t type = supply_type::kToner) {
    return {std::move(name), type, supply_class::kConsumed, percent};
}

// One supply's level through the entries, and the event each entry brings (0: none).
TEST(SupplyTracker, EachCrossingIsToldOnceAndAReplacementOnlyAtHalfFull) {
    const std::vector<std::pair<int, int>> levels{
        {60, 0}, {5, 210}, {3, 0}, {6, 0}, {4, 0}, {1, 211}, {0, 0}, {3, 0}, {49, 0}, {50, 212}, {80, 0}, {1, 211}};
    SupplyTracker tracker;
    for (const auto& [percent, id] : levels) {
        std::vector<Event> events;
        const Supply toner = Toner(percent);
        tracker.Saw({&toner, 1}, "Front Desk", "IP_10", events);
        if (id == 0) {
            EXPECT_EQ(events, std::vector<Event>{}) << "at " << percent << "%";
            continue;
        }
        ASSERT_EQ(events.size(), 1u) << "at " << percent << "%";
        EXPECT_EQ(static_cast<int>(events[0].id), id);
        EXPECT_EQ(events[0].strings,
                  (std::vector<std::string>{"Front Desk", "Black Toner", std::to_string(percent), "toner", "IP_10"}));
    }
}

TEST(SupplyTracker, WasteBoxesAndLevelsThatSayNothingAreNotFollowed) {
    SupplyTracker tracker;
    const std::vector<Supply> supplies{{"Waste Toner", supply_type::kWasteToner, supply_class::kReceptacle, 0},
                                       {"Filled Box", supply_type::kOther, supply_class::kReceptacle, 100},
                                       {"Cyan Ink", supply_type::kInk, supply_class::kConsumed, std::nullopt},
                                       {"Drum", supply_type::kOpc, supply_class::kConsumed, 2},
                                       {"Black Toner", supply_type::kToner, supply_class::kConsumed, 1}};
    std::vector<Event> events;
    tracker.Saw(supplies, "Front Desk", "IP_10", events);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0],
              (Event{EventId::SupplyLow, EventLevel::Warning, {"Front Desk", "Drum", "2", "drum (opc)", "IP_10"}}));
    EXPECT_EQ(events[1].id, EventId::SupplyEmpty);
    EXPECT_EQ(events[1].level, EventLevel::Error);
    EXPECT_EQ(SuppliesText(supplies), "Drum 2%, Black Toner 1%");
    EXPECT_EQ(SuppliesText({}), "none reported");
}

// Two toners of one name (a Brother laser's two rows; IPP without marker-names): each is followed by its index and
// named by its place among them; a reading brings events only where one of them crossed a threshold.
TEST(SupplyTracker, SuppliesOfOneNameAreFollowedAndNamedApart) {
    const struct {
        int first, second;
        std::vector<std::string> told;  // each event's id, name and percent
    } readings[] = {
        {3, 80, {"210 Toner (1) 3"}}, {3, 80, {}}, {3, 80, {}}, {80, 80, {"212 Toner (1) 80"}}, {80, 80, {}},
        {80, 4, {"210 Toner (2) 4"}}, {1, 1, {"211 Toner (1) 1", "211 Toner (2) 1"}}, {1, 1, {}},
    };
    SupplyTracker tracker;
    for (const auto& reading : readings) {
        Supply first = Toner(reading.first, "Toner");
        Supply second = Toner(reading.second, "Toner");
        first.index = 1;
        second.index = 2;
        std::vector<Event> events;
        tracker.Saw(std::vector<Supply>{first, second}, "Front Desk", "IP_10", events);
        std::vector<std::string> told;
        for (const Event& e : events) {
            told.push_back(std::to_string(static_cast<int>(e.id)) + ' ' + e.strings[1] + ' ' + e.strings[2]);
        }
        EXPECT_EQ(told, reading.told) << "at " << reading.first << "% and " << reading.second << "%";
    }
    // No description: the kind's word, told apart the same way; a waste box shares no name with a supply.
    const std::vector<Supply> unnamed{Toner(3, ""), Toner(80, ""), {"toner", supply_type::kWasteToner, 4, 10}};
    EXPECT_EQ(SuppliesText(unnamed), "toner (1) 3%, toner (2) 80%");
}

// Ten entries read one low toner two ways in turn (its description with the printer's character set and without;
// IPP's printer-supply and marker-* forms): told once. An ink at its place is another supply.
TEST(SupplyTracker, ASupplyReadDifferentlyIsStillWhoItWas) {
    using namespace supply_type;
    const std::vector<Supply> readings[][2] = {
        {{{"T\xF3ner", kToner, 3, 4, 1}}, {{"T?ner", kToner, 3, 4, 1}}},
        {{{"Waste", kWasteToner, 4, 50, 1}, {"Black Cartridge", kTonerCartridge, 3, 4, 2}},
         {{"black", kTonerCartridge, supply_class::kOther, 4, 1}}},
    };
    for (const auto& pair : readings) {
        SupplyTracker tracker;
        std::vector<Event> events;
        for (int entry = 0; entry < 10; ++entry) tracker.Saw(pair[entry % 2], "Front Desk", "IP_10", events);
        const Supply ink{"T?ner", kInk, 3, 4, 1};
        tracker.Saw({&ink, 1}, "Front Desk", "IP_10", events);
        EXPECT_EQ(events.size(), 2u) << pair[1].back().description;
    }
}

TEST(SupplyTracker, OfMoreSuppliesThanItFollowsTheOneUnseenLongestIsForgotten) {
    std::vector<Supply> toners;
    for (std::uint32_t index = 1; index <= 128; ++index) toners.push_back({"Toner", supply_type::kToner, 3, 3, index});
    const Supply ink{"Ink", supply_type::kInk, 3, 3, 1};
    SupplyTracker tracker;
    std::vector<Event> events;
    const std::span<const Supply> readings[] = {toners, {&ink, 1}, toners, toners};
    for (const auto reading : readings) tracker.Saw(reading, "Front Desk", "IP_10", events);
    EXPECT_EQ(events.size(), 128u + 1 + 1) << "the toner unseen longest is told again, never all of them";
}

TEST(ChangeTracker, APrinterThisPcCouldNotAskIsToldOnceAndSoIsItsReturn) {
    ChangeTracker tracker;
    tracker.LoggingSwitched(true, "Log every 1 second");
    const Supply toner = Toner(49);
    PrinterSighting sighting{"Front Desk", 0, "Generic Laser", "IP_10", "t1", {&toner, 1}, 12345, std::nullopt};
    tracker.Saw(sighting, 1);
    sighting.notAsked = "Winsock cannot start";
    const Events notAsked{{EventId::PrinterNotAsked, EventLevel::Warning, {"Front Desk", "Winsock cannot start"}}};
    EXPECT_EQ(tracker.Saw(sighting, 2), notAsked);
    EXPECT_EQ(tracker.Saw(sighting, 3), Events{});
    sighting.notAsked.reset();
    EXPECT_EQ(tracker.Saw(sighting, 4),
              (Events{{EventId::PrinterAskedAgain, EventLevel::Information, {"Front Desk"}}}));
    EXPECT_EQ(tracker.Saw(sighting, 86401),
              (Events{{EventId::Heartbeat, EventLevel::Information,
                       {"Front Desk", "Ready", "t1", "Black Toner 49%", "12345"}}}));
}

// An Epson's alert table, most severe first: an error carries its critical alert on a line of its own; a warning the
// toner earned, its warning, as the critical one would claim more.
TEST(ChangeTracker, AStateChangeEndsWithThePrinterWordsThatExplainItsStatus) {
    const std::vector<PrinterAlert> epson{{PrinterAlert::Severity::Critical, "The Maintenance Box is at its end."},
                                          {PrinterAlert::Severity::Warning, "Ink low. C"}};
    Logging logging;
    logging.See(0, kReady);
    const auto see = [&](std::int64_t at, std::uint32_t status) {
        return logging.tracker.Saw({"Front Desk", status, "Generic Laser", "LPT1:", "t", {}, {}, {}, epson}, at);
    };
    EXPECT_EQ(see(1, kOffLine), Events{Change(kError, "Off Line", "Ready", "1", "1 s",
                                              "\r\nThe printer says: The Maintenance Box is at its end.")});
    EXPECT_EQ(see(2, kTonerLow),
              Events{Change(kWarning, "Toner Low", "Off Line", "1", "1 s", "\r\nThe printer says: Ink low. C")});
}

} // namespace
} // namespace ambervale
