// The supplies' levels and what they add to the status line.
#include "printer/Supplies.h"

#include <gtest/gtest.h>

#include "printer/PrinterStatus.h"

namespace ambervale {
namespace {

TEST(Supplies, PercentOnlyFromALevelAndACapacityThatMeanSomething) {
    EXPECT_EQ(SupplyPercent(49, 100), 49);
    EXPECT_EQ(SupplyPercent(4000, 20000), 20);
    EXPECT_EQ(SupplyPercent(199, 20000), 0) << "rounded down, as the thresholds are met";
    EXPECT_EQ(SupplyPercent(150, 100), 100) << "a level above the capacity is full, no more";
    EXPECT_EQ(SupplyPercent(0x7FFFFFFF, 1), 100);
    for (const std::int64_t special : {kLevelOther, kLevelUnknown, kLevelSomeRemaining}) {
        EXPECT_EQ(SupplyPercent(special, 100), std::nullopt) << special;
    }
    EXPECT_EQ(SupplyPercent(50, 0), std::nullopt);
    EXPECT_EQ(SupplyPercent(50, -2), std::nullopt);
}

TEST(Supplies, MarkerSuppliesAtTheThresholdsGiveTheirWordsAndNothingElseDoes) {
    const auto words = [](std::vector<Supply> supplies) { return PrinterStatusText(SupplyStatusBits(supplies)); };
    const auto supply = [](std::int32_t type, std::optional<int> percent, std::int32_t cls = supply_class::kConsumed) {
        return Supply{"", type, cls, percent};
    };
    EXPECT_EQ(words({supply(supply_type::kToner, 6)}), "Printer Status = Ready\r\n");
    EXPECT_EQ(words({supply(supply_type::kInkCartridge, 5)}), "Printer Status = Toner Low  \r\n");
    EXPECT_EQ(words({supply(supply_type::kTonerCartridge, 1), supply(supply_type::kInk, 3)}),
              "Printer Status = No Toner  Toner Low  \r\n");
    EXPECT_EQ(words({supply(supply_type::kSolidWax, 0), supply(supply_type::kRibbonWax, 2),
                     supply(supply_type::kInkRibbon, 4)}),
              "Printer Status = No Toner  Toner Low  \r\n");
    // Not marker supplies, or levels that say nothing.
    EXPECT_EQ(words({supply(supply_type::kOpc, 0), supply(supply_type::kFuser, 1),
                     supply(supply_type::kWasteToner, 0), supply(supply_type::kToner, 0, supply_class::kReceptacle),
                     supply(supply_type::kToner, std::nullopt)}),
              "Printer Status = Ready\r\n");
}

TEST(Supplies, TextFromTheNetworkIsCutAndMadePrintable) {
    EXPECT_EQ(PrintableAscii(std::string("Black\0 Toner\r\n\x7F", 15)), "Black Toner");
    EXPECT_EQ(PrintableAscii("Cyan \xC3\xA9 Ink"), "Cyan ?? Ink");
    EXPECT_EQ(PrintableAscii(std::string(300, 'x')).size(), kMaxSupplyDescription);
    EXPECT_EQ(SupplyTypeWord(supply_type::kOpc), "drum (opc)");
    EXPECT_EQ(SupplyTypeWord(supply_type::kMatteInk), "matte ink");
    EXPECT_EQ(SupplyTypeWord(0), "supply");
    EXPECT_EQ(SupplyTypeWord(37), "supply");
}

} // namespace
} // namespace ambervale
