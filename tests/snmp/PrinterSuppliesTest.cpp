// The supplies table walked against agents written out by hand: what each entry reads, what the supplies and the
// line then say, and agents that misbehave.
#include "snmp/PrinterSupplies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeSnmp.h"
#include "fakes/FakeSpooler.h"
#include "printer/PrinterStatus.h"
#include "snmp/SnmpStatusSource.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;
using namespace std::chrono_literals;

std::vector<std::byte> Int(int value) { return BerInteger(value); }
std::vector<std::byte> Str(std::string_view text) {
    return BerElement(ber::kOctetString, std::as_bytes(std::span<const char>(text.data(), text.size())));
}
std::vector<std::byte> Counter(std::uint32_t value) {
    auto bytes = BerInteger(static_cast<std::int32_t>(value & 0x7FFFFFFF));
    bytes[0] = std::byte{0x41};
    return bytes;
}

ObjectArcs Cell(std::uint32_t column, std::uint32_t row) { return {1, 3, 6, 1, 2, 1, 43, 11, 1, 1, column, 1, row}; }
const ObjectArcs kLifeCount = {1, 3, 6, 1, 2, 1, 43, 10, 2, 1, 4, 1, 1};

// A running, idle printer with no error bit, and whatever lies around the printer's tables.
void PutStatus(FakeMibAgent& agent) {
    agent.mib[{1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 5, 1}] = Int(2);
    agent.mib[{1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 1, 1}] = Int(3);
    agent.mib[{1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 2, 1}] = Str(std::string(1, '\0'));
    agent.mib[{1, 3, 6, 1, 2, 1, 43, 5, 1, 1, 17, 1}] = Str("serial");  // before the supplies
    agent.mib[{1, 3, 6, 1, 2, 1, 43, 12, 1, 1, 4, 1, 1}] = Str("black");  // prtMarkerColorantValue, after them
}

// One supply row: class, type, description, unit (tenths of grams), max, level.
void PutSupply(FakeMibAgent& agent, std::uint32_t row, int supplyClass, int type, std::string_view description,
               int max, int level) {
    agent.mib[Cell(4, row)] = Int(supplyClass);
    agent.mib[Cell(5, row)] = Int(type);
    agent.mib[Cell(6, row)] = Str(description);
    agent.mib[Cell(7, row)] = Int(13);
    agent.mib[Cell(8, row)] = Int(max);
    agent.mib[Cell(9, row)] = Int(level);
}

// A laser printer of the shape many makers have: toner and a drum at rows 1 and 5, a waste box at 13.
void PutLaser(FakeMibAgent& agent) {
    PutStatus(agent);
    PutSupply(agent, 1, 3, 3, "Black Toner", 7000, 3430);
    PutSupply(agent, 5, 3, 9, "Imaging Unit", 100, 72);
    PutSupply(agent, 13, 4, 4, "Waste Toner Box", 100, 100);
    agent.mib[kLifeCount] = Counter(48213);
}

struct World {
    World() { ports.ports["IP_printer"] = SnmpPort("printer"); }
    std::uint32_t Entry(PrinterOwnReport& ownReport) {
        FakeSpooler spooler;
        PrinterFields record;
        record.portName = "IP_printer";
        ownReport = PrinterOwnReport{};
        return source.StatusAndReport(OpenPrinter{spooler, FakeSpooler::kHandle, record}, ownReport);
    }
    std::string Line() {
        PrinterOwnReport ownReport;
        return PrinterStatusText(Entry(ownReport));
    }
    FakeTcpIpPorts ports;
    FakeMibAgent agent;
    CountingRequestIds ids;
    AskClock::time_point now{};
    SnmpStatusSource source{ports, agent, ids, nullptr, [this] { return now; }};
};

// The supply at that row of the table.
Supply Made(std::string description, int type, int supplyClass, std::optional<int> percent, std::uint32_t row) {
    return Supply{std::move(description), type, supplyClass, percent, row};
}

TEST(PrinterSupplies, AWalkOfRowsWithHolesGivesEachSupplyInOrderWithItsPercentAndThePageCount) {
    for (const bool v2c : {false, true}) {
        SCOPED_TRACE(v2c ? "v2c" : "v1");
        World world;
        world.agent.v2c = v2c;
        PutLaser(world.agent);
        PrinterOwnReport ownReport;
        EXPECT_EQ(world.Entry(ownReport), 0u);
        EXPECT_EQ(ownReport.supplies, (std::vector<Supply>{Made("Black Toner", 3, 3, 49, 1),
                                                       Made("Imaging Unit", 9, 3, 72, 5),
                                                       Made("Waste Toner Box", 4, 4, 100, 13)}));
        EXPECT_EQ(ownReport.pages, 48213u);
        EXPECT_FALSE(ownReport.notAsked.has_value());
        // Six columns and the page count in one request; then one for each further row and one to see the end.
        EXPECT_EQ(world.agent.getNexts, 4);
        ASSERT_FALSE(world.agent.getNextObjects.empty());
        EXPECT_EQ(world.agent.getNextObjects[0].size(), 7u);
    }
}

// The thresholds are the supplies' own test; here, that the table's levels and capacities reach them.
TEST(PrinterSupplies, MarkerSuppliesAtTheirThresholdsGiveTheirWordsAndOthersNone) {
    const struct {
        const char* what;
        int supplyClass, type, max, level;
        const char* line;
    } cases[] = {
        {"ink at 1%", 3, 6, 100, 1, "No Toner  "},
        {"toner at 4%", 3, 3, 1000, 40, "Toner Low  "},
        {"toner 'some remaining'", 3, 3, 100, -3, "Ready"},
        {"waste ink, consumed, at 0%", 3, 8, 100, 0, "Ready"},
        {"toner filled as a receptacle", 4, 3, 100, 0, "Ready"},
    };
    for (const auto& c : cases) {
        World world;
        PutStatus(world.agent);
        PutSupply(world.agent, 1, c.supplyClass, c.type, "supply", c.max, c.level);
        EXPECT_EQ(world.Line(), std::string("Printer Status = ") + c.line + "\r\n")
            << c.what;
    }
}

TEST(PrinterSupplies, ColumnsTheAgentLacksAreAbsentAndValuesOfOtherTypesUnknown) {
    World world;
    PutStatus(world.agent);
    // No class, unit or capacity column; a description that is a number; a level that is text.
    world.agent.mib[Cell(5, 2)] = Int(5);
    world.agent.mib[Cell(5, 3)] = Int(3);
    world.agent.mib[Cell(6, 2)] = Int(7);
    world.agent.mib[Cell(6, 3)] = Str("Cyan\x01\x7f Ink\xe9");
    world.agent.mib[Cell(9, 2)] = Str("50");
    world.agent.mib[Cell(9, 3)] = Int(10);
    PrinterOwnReport ownReport;
    EXPECT_EQ(world.Entry(ownReport), 0u);
    EXPECT_EQ(ownReport.supplies,
              (std::vector<Supply>{Made("", 5, 1, std::nullopt, 2), Made("Cyan Ink?", 3, 1, std::nullopt, 3)}));
    EXPECT_FALSE(ownReport.pages.has_value());
}

TEST(PrinterSupplies, AtMost32RowsAndAWalkThatDoesNotAdvanceStops) {
    World many;
    PutStatus(many.agent);
    for (std::uint32_t row = 1; row <= 33; ++row) PutSupply(many.agent, row, 3, 5, "ink", 100, 1);
    PrinterOwnReport ownReport;
    EXPECT_EQ(PrinterStatusText(many.Entry(ownReport)), "Printer Status = No Toner  \r\n");
    EXPECT_EQ(ownReport.supplies.size(), 32u);
    EXPECT_EQ(many.agent.getNexts, 32) << "the 32nd row ends every column";

    const struct {
        const char* what;
        std::function<std::optional<FakeMibAgent::Binding>(const ObjectArcs&)> next;
        std::size_t rows;
    } agents[] = {
        {"the same object again", [](const ObjectArcs& asked) -> std::optional<FakeMibAgent::Binding> {
             ObjectArcs row = asked;
             if (row.size() == 12) row.push_back(4);  // the first row, then always that one
             return FakeMibAgent::Binding{row, Int(3)};
         }, 1},
        {"an earlier object", [](const ObjectArcs& asked) -> std::optional<FakeMibAgent::Binding> {
             ObjectArcs row = asked;
             if (row.size() == 12) row.push_back(9); else row.back() -= 1;
             return FakeMibAgent::Binding{row, Int(3)};
         }, 1},
        {"rows without end", [](const ObjectArcs& asked) -> std::optional<FakeMibAgent::Binding> {
             ObjectArcs row = asked;
             if (row.size() == 12) row.push_back(0);
             row.back() += 1000;
             return FakeMibAgent::Binding{row, Int(3)};
         }, 32},
        {"an object deeper in the column", [](const ObjectArcs& asked) -> std::optional<FakeMibAgent::Binding> {
             ObjectArcs row = asked;
             row.insert(row.end(), {1, 1});
             return FakeMibAgent::Binding{row, Int(3)};
         }, 0},
    };
    for (const auto& a : agents) {
        World world;
        PutStatus(world.agent);
        world.agent.next = a.next;
        PrinterOwnReport walked;
        EXPECT_EQ(world.Entry(walked), 0u) << a.what;
        EXPECT_EQ(walked.supplies.size(), a.rows) << a.what;
        EXPECT_LE(world.agent.getNexts, 33) << a.what;
    }
}

TEST(PrinterSupplies, DescriptionsAreReadHourlyLevelsEachMinuteAndNothingInBetween) {
    World world;
    PutLaser(world.agent);
    EXPECT_EQ(world.Line(), "Printer Status = Ready\r\n");
    ASSERT_EQ(world.agent.getNexts, 4);

    world.agent.mib[Cell(9, 1)] = Int(280);  // 4%
    world.agent.mib[Cell(6, 1)] = Str("Renamed");
    world.now += 30s;
    EXPECT_EQ(world.Line(), "Printer Status = Ready\r\n") << "the level of 30 s ago";
    EXPECT_EQ(world.agent.getNexts, 4);

    world.now += 30s;
    PrinterOwnReport ownReport;
    EXPECT_EQ(PrinterStatusText(world.Entry(ownReport)), "Printer Status = Toner Low  \r\n");
    EXPECT_EQ(ownReport.supplies[0], Made("Black Toner", 3, 3, 4, 1)) << "the description is an hour's";
    ASSERT_EQ(world.agent.getNexts, 8);
    EXPECT_EQ(world.agent.getNextObjects[4].size(), 2u) << "the levels and the page count alone";

    world.now += 1h;
    EXPECT_EQ(PrinterStatusText(world.Entry(ownReport)), "Printer Status = Toner Low  \r\n");
    EXPECT_EQ(ownReport.supplies[0].description, "Renamed");
    ASSERT_EQ(world.agent.getNextObjects.size(), 12u);
    EXPECT_EQ(world.agent.getNextObjects[8].size(), 7u) << "the whole table again";

    // The port now names another community: another view, maybe another device.
    world.ports.ports["IP_printer"].community = Text("private");
    world.now += 1s;
    world.Line();
    ASSERT_EQ(world.agent.getNextObjects.size(), 16u);
    EXPECT_EQ(world.agent.getNextObjects[12].size(), 7u);
}

TEST(PrinterSupplies, ASupplyThatComesOrGoesIsDescribedAtOnce) {
    World world;
    PutLaser(world.agent);
    world.Line();
    PutSupply(world.agent, 7, 3, 5, "Photo Ink", 100, 1);
    world.now += 1min;
    PrinterOwnReport ownReport;
    EXPECT_EQ(PrinterStatusText(world.Entry(ownReport)), "Printer Status = No Toner  \r\n");
    ASSERT_EQ(ownReport.supplies.size(), 4u);
    EXPECT_EQ(ownReport.supplies[2], Made("Photo Ink", 5, 3, 1, 7));
}

TEST(PrinterSupplies, APrinterWithoutTheTableCostsOneRequestAnHour) {
    World world;
    PutStatus(world.agent);
    for (const auto after : {0min, 1min, 58min}) {
        world.now += after;
        EXPECT_EQ(world.Line(), "Printer Status = Ready\r\n");
    }
    EXPECT_EQ(world.agent.getNexts, 1);
    EXPECT_EQ(world.agent.gets, 3);
    world.now += 1min;
    world.Line();
    EXPECT_EQ(world.agent.getNexts, 2);
}

TEST(PrinterSupplies, AnAgentThatRefusesTheWalkOrTakesFewerObjectsStillAnswers) {
    World refusing;
    PutLaser(refusing.agent);
    refusing.agent.getNextError = 5;  // genErr
    PrinterOwnReport ownReport;
    EXPECT_EQ(refusing.Entry(ownReport), 0u) << "up, and nothing known of its supplies";
    EXPECT_TRUE(ownReport.supplies.empty());

    World small;
    PutLaser(small.agent);
    small.agent.maxBindings = 3;  // the status question fits, the walk of seven columns does not
    EXPECT_EQ(small.Entry(ownReport), 0u);
    EXPECT_EQ(ownReport.supplies.size(), 3u);
    EXPECT_EQ(ownReport.pages, 48213u);
    EXPECT_EQ(small.agent.getNextObjects.back().size(), 1u);
}

// Latin-1 only, as a code page would have it.
struct Latin1Text : ForeignText {
    std::optional<std::string> ToAnsi(std::string_view bytes, std::uint32_t mibEnum) override {
        if (mibEnum != charset::kLatin1) return std::nullopt;
        return std::string(bytes);
    }
};

TEST(PrinterSupplies, DescriptionsOutsideAsciiAreShownOnlyInTheSetThePrinterNames) {
    Latin1Text latin1;
    EXPECT_EQ(DescriptionText("Cyan\xe9\x01", charset::kLatin1, &latin1), "Cyan\xe9");
    EXPECT_EQ(DescriptionText("Cyan\xe9", std::nullopt, &latin1), "Cyan?");
    EXPECT_EQ(DescriptionText("Cyan\xe9", charset::kUtf8, &latin1), "Cyan?") << "a set this PC cannot read";
    EXPECT_EQ(DescriptionText(std::string(300, '\xe9'), charset::kLatin1, &latin1), std::string(255, '\xe9'));
    EXPECT_EQ(DescriptionText(std::string(300, 'a'), std::nullopt, nullptr).size(), 255u);

    FakeTcpIpPorts ports;
    ports.ports["IP_printer"] = SnmpPort("printer");
    FakeMibAgent agent;
    PutStatus(agent);
    PutSupply(agent, 1, 3, 3, "Schwarz \xe9", 100, 50);
    agent.mib[{1, 3, 6, 1, 2, 1, 43, 5, 1, 1, 2, 1}] = Int(2);      // prtGeneralCurrentLocalization
    agent.mib[{1, 3, 6, 1, 2, 1, 43, 7, 1, 1, 4, 1, 2}] = Int(4);   // its character set: Latin-1
    CountingRequestIds ids;
    SnmpStatusSource source(ports, agent, ids, &latin1);
    FakeSpooler spooler;
    PrinterFields record;
    record.portName = "IP_printer";
    PrinterOwnReport ownReport;
    source.StatusAndReport(OpenPrinter{spooler, FakeSpooler::kHandle, record}, ownReport);
    ASSERT_EQ(ownReport.supplies.size(), 1u);
    EXPECT_EQ(ownReport.supplies[0].description, "Schwarz \xe9");
}

} // namespace
} // namespace ambervale
