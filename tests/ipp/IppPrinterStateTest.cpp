// The printer's state, reasons and supplies as the status table's words.
#include "ipp/IppPrinterState.h"

#include <gtest/gtest.h>

#include "fakes/FakeIpp.h"
#include "printer/PrinterStatus.h"

namespace ambervale {
namespace {

using testing::FakeForeignText;
using testing::IppBytes;
using testing::PrinterResponse;

std::string Words(std::uint32_t bits) { return PrinterStatusText(bits); }

// A reason's suffix is its severity: a report is information, the others are conditions.
TEST(IppPrinterState, EachReasonGivesItsWordUnlessItIsOnlyAReport) {
    const struct {
        const char* reason;
        const char* line;
    } cases[] = {
        {"media-empty", "Paper Out  "},           {"media-needed-warning", "Paper Out  "},
        {"media-empty-error", "Paper Out  "},      {"media-empty-report", "Ready"},
        {"media-jam-error", "Paper Jam  "},        {"toner-low-report", "Ready"},
        {"marker-supply-low", "Toner Low  "},      {"ink-low-warning", "Toner Low  "},
        {"toner-empty-error", "No Toner  "},       {"marker-supply-empty", "No Toner  "},
        {"door-open", "Printer Door Open  "},      {"cover-open-report", "Ready"},
        {"interlock-open", "Printer Door Open  "}, {"output-area-full-warning", "Output Bin Full  "},
        {"input-tray-missing", "Page Problem  "},  {"output-tray-missing-error", "Page Problem  "},
        {"paused", "Paused  "},                    {"moving-to-paused", "Paused  "},
        {"offline-report", "Ready"},               {"shutdown", "Off Line  "},
        {"none", "Ready"},                         {"media-low", "Ready"},
        {"marker-waste-almost-full-warning", "Ready"}, {"media-empty-other", "Ready"},
        {"-report", "Ready"},                      {"Media-Empty", "Ready"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Words(IppReasonBits(c.reason)), std::string("Printer Status = ") + c.line + "\r\n") << c.reason;
    }
}

TEST(IppPrinterState, TheStateAddsPrintingAndAStopWithoutAWordedReasonIsAnError) {
    EXPECT_EQ(Words(IppStateBits(ipp_state::kIdle, {"none"})), "Printer Status = Ready\r\n");
    EXPECT_EQ(Words(IppStateBits(ipp_state::kProcessing, {"media-jam-warning", "door-open"})),
              "Printer Status = Printer Door Open  Paper Jam  Printing  \r\n");
    EXPECT_EQ(Words(IppStateBits(ipp_state::kStopped, {"none", "media-low"})), "Printer Status = Printer Error  \r\n");
    EXPECT_EQ(Words(IppStateBits(ipp_state::kStopped, {"media-empty-error"})), "Printer Status = Paper Out  \r\n");
    EXPECT_EQ(Words(IppStateBits(std::nullopt, {})), "Printer Status = Ready\r\n");
    EXPECT_EQ(Words(IppStateBits(9, {})), "Printer Status = Ready\r\n");
}

TEST(IppPrinterState, MarkerLevelsGiveSuppliesAndTheirWords) {
    const auto bytes = PrinterResponse(1, [](IppBytes& b) {
        b.Value(0x42, "marker-names", "Black Toner").Value(0x42, "", "Cyan \xC3\xA9\x01").Value(0x42, "", "")
            .Value(0x42, "", "Waste").Value(0x42, "", "Magenta");
        b.Value(0x44, "marker-types", "toner").Value(0x44, "", "ink-cartridge").Value(0x44, "", "toner")
            .Value(0x44, "", "waste-toner").Value(0x44, "", "toner");
        b.Integer(0x21, "marker-levels", 4).Integer(0x21, "", 1).Integer(0x21, "", -3).Integer(0x21, "", 0)
            .Integer(0x21, "", 250);
    });
    const auto response = ReadIppResponse(bytes, 1);
    ASSERT_TRUE(response.has_value());
    FakeForeignText text;
    const std::vector<Supply> supplies = IppSupplies(*response, text);
    const std::vector<Supply> expected = {
        {"Black Toner", supply_type::kToner, supply_class::kOther, 4, 1},
        {"Cyan #", supply_type::kInkCartridge, supply_class::kOther, 1, 2},
        {"toner", supply_type::kToner, supply_class::kOther, std::nullopt, 3},
        {"Waste", supply_type::kWasteToner, supply_class::kOther, 0, 4},
        {"Magenta", supply_type::kToner, supply_class::kOther, 100, 5},
    };
    EXPECT_EQ(supplies, expected);
    // The waste box at 0% adds nothing; "some remaining" says nothing.
    EXPECT_EQ(Words(IppResponseBits(*response, supplies)), "Printer Status = No Toner  Toner Low  \r\n");

    text.refuse = true;
    EXPECT_EQ(IppSupplies(*response, text).at(1).description, "Cyan ??");
}

TEST(IppPrinterState, PrinterSupplyIsPreferredAndReadByItsFields) {
    const auto bytes = PrinterResponse(1, [](IppBytes& b) {
        b.Value(0x30, "printer-supply", "index=1;class=receptacleThatIsFilled;type=wasteToner;unit=percent;"
                                        "maxcapacity=100;level=100;colorantname=unknown;")
            .Value(0x30, "", "index=2;class=supplyThatIsConsumed;type=toner;unit=percent;maxcapacity=100;level=3;")
            .Value(0x30, "", "type=toner;maxcapacity=2000;level=10")
            .Value(0x30, "", "type=toner;maxcapacity=-2;level=0;")
            .Value(0x30, "", "type=toner;maxcapacity=100;level=-1;")
            .Value(0x30, "", "type=toner;maxcapacity=100;level=1x;")
            .Value(0x44, "", "type=toner;maxcapacity=100;level=0;");  // not an octetString: skipped
        b.Value(0x41, "printer-supply-description", "Waste Toner Box").Value(0x41, "", "Black Toner");
        b.Integer(0x21, "marker-levels", 0).Value(0x44, "marker-types", "toner");
    });
    const auto response = ReadIppResponse(bytes, 1);
    ASSERT_TRUE(response.has_value());
    FakeForeignText text;
    const std::vector<Supply> supplies = IppSupplies(*response, text);
    const std::vector<Supply> expected = {
        {"Waste Toner Box", supply_type::kWasteToner, supply_class::kReceptacle, 100, 1},
        {"Black Toner", supply_type::kToner, supply_class::kConsumed, 3, 2},
        {"toner", supply_type::kToner, supply_class::kOther, 0, 3},
        {"toner", supply_type::kToner, supply_class::kOther, std::nullopt, 4},
        {"toner", supply_type::kToner, supply_class::kOther, std::nullopt, 5},
        {"toner", supply_type::kToner, supply_class::kOther, std::nullopt, 6},
    };
    EXPECT_EQ(supplies, expected);
    EXPECT_EQ(Words(IppResponseBits(*response, supplies)), "Printer Status = No Toner  Toner Low  \r\n");
}

TEST(IppPrinterState, ValuesOfTheWrongKindAreLeftOut) {
    const auto bytes = PrinterResponse(1, [](IppBytes& b) {
        b.Integer(0x21, "printer-state", 4);  // an integer, not an enum
        b.Value(0x41, "printer-state-reasons", "media-jam").Value(0x44, "", "door-open");
        b.Value(0x44, "marker-levels", "50").Integer(0x21, "", 2);
    });
    const auto response = ReadIppResponse(bytes, 1);
    ASSERT_TRUE(response.has_value());
    FakeForeignText text;
    const std::vector<Supply> supplies = IppSupplies(*response, text);
    ASSERT_EQ(supplies.size(), 1u);
    EXPECT_EQ(supplies[0].percent, 2);
    EXPECT_EQ(supplies[0].type, supply_type::kUnknown) << "no kind: not a marker, so no word";
    EXPECT_EQ(Words(IppResponseBits(*response, supplies)), "Printer Status = Printer Door Open  \r\n");
}

TEST(IppPrinterState, NoMoreThanTheMostSuppliesAndLongNamesCut) {
    const auto bytes = PrinterResponse(1, [](IppBytes& b) {
        b.Value(0x42, "marker-names", std::string(2000, 'n'));
        b.Integer(0x21, "marker-levels", 50);
        for (int i = 0; i < 40; ++i) b.Integer(0x21, "", 50);
    });
    const auto response = ReadIppResponse(bytes, 1);
    ASSERT_TRUE(response.has_value());
    FakeForeignText text;
    const std::vector<Supply> supplies = IppSupplies(*response, text);
    ASSERT_EQ(supplies.size(), kMaxSupplies);
    EXPECT_EQ(supplies[0].description, std::string(kMaxSupplyDescription, 'n'));
}

} // namespace
} // namespace ambervale
