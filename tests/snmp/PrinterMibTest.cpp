// What the printer's own answer adds to the status line.
#include "snmp/PrinterMib.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeSnmp.h"
#include "printer/PrinterStatus.h"

namespace ambervale {
namespace {

using testing::Bytes;

// The words of the status line for an answer.
std::string Words(const PrinterAnswer& answer) { return PrinterStatusText(PrinterStatusBits(answer)); }

PrinterAnswer IdleWithErrors(std::vector<std::byte> errorState) {
    return PrinterAnswer{2, 3, std::move(errorState)};
}

TEST(PrinterMib, EachDetectedErrorBitGivesItsWordAndTheOthersNone) {
    const char* words[16] = {
        "Ready",               // lowPaper
        "Paper Out  ",         // noPaper
        "Toner Low  ",         // lowToner
        "No Toner  ",          // noToner
        "Printer Door Open  ", // doorOpen
        "Paper Jam  ",         // jammed
        "Ready",               // offline: running, so power-save's (below)
        "Ready",               // serviceRequested: likewise
        "Page Problem  ",      // inputTrayMissing
        "Page Problem  ",      // outputTrayMissing
        "No Toner  ",          // markerSupplyMissing
        "Ready",               // outputNearFull
        "Output Bin Full  ",   // outputFull
        "Paper Out  ",         // inputTrayEmpty
        "Ready",               // overduePreventMaint
        "Ready",               // no such bit
    };
    for (int bit = 0; bit < 16; ++bit) {
        std::vector<std::byte> octets(2);
        octets[bit / 8] = static_cast<std::byte>(0x80 >> (bit % 8));
        EXPECT_EQ(Words(IdleWithErrors(octets)), std::string("Printer Status = ") + words[bit] + "\r\n") << "bit " << bit;
    }
}

TEST(PrinterMib, SeveralErrorsPrinterAndDeviceStatusGiveTheirWordsInTheTablesOrder) {
    const struct {
        PrinterAnswer answer;
        const char* line;
    } cases[] = {
        {IdleWithErrors(Bytes({0x18})), "Printer Status = Printer Door Open  No Toner  \r\n"},
        {IdleWithErrors(Bytes({0x00, 0x04})), "Printer Status = Paper Out  \r\n"},  // bit 13
        // Octets past the second hold no bit the program knows; none at all, no error.
        {IdleWithErrors(Bytes({0x04, 0x00, 0xff, 0xff})), "Printer Status = Paper Jam  \r\n"},
        {IdleWithErrors({}), "Printer Status = Ready\r\n"},
        {{2, 4, Bytes({0})}, "Printer Status = Printing  \r\n"},
        {{2, 5, Bytes({0})}, "Printer Status = Warming Up  \r\n"},
        {{2, 1, Bytes({0})}, "Printer Status = Ready\r\n"},
        {{5, 3, Bytes({0})}, "Printer Status = Printer Error  \r\n"},
        {{3, 3, Bytes({0})}, "Printer Status = Ready\r\n"},     // warning alone says nothing the table has
        // offline (bit 6) and serviceRequested (bit 7) count only while the device says warning or down.
        {{3, 3, Bytes({0x03})}, "Printer Status = Off Line  User Intervention  \r\n"},
        {{3, 3, Bytes({0x02})}, "Printer Status = Off Line  \r\n"},  // warning with the offline bit alone
        {{5, 1, Bytes({0x02})}, "Printer Status = Printer Error  Off Line  \r\n"},
        {{2, 1, Bytes({0x03})}, "Printer Status = Ready\r\n"},
        {{std::nullopt, 1, Bytes({0x06})}, "Printer Status = Paper Jam  \r\n"},
        {{-5, -4, Bytes({0})}, "Printer Status = Ready\r\n"},   // values out of the MIB's range
        {{5, std::nullopt, Bytes({0x04})}, "Printer Status = Printer Error  Paper Jam  \r\n"},
        {{5, std::nullopt, std::nullopt}, "Printer Status = Ready\r\n"},  // not a printer: its device word is ignored
        {{std::nullopt, 4, std::nullopt}, "Printer Status = Printing  \r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Words(c.answer), c.line) << c.line;
    EXPECT_EQ(PrinterStatusText(status_bit::kOffline), "Printer Status = Off Line  \r\n");
}

// Asleep in power-save, a printer sets offline while a low toner or paper keeps its device in warning: the supply
// explains the warning, so offline (and serviceRequested) are not taken from it; down always means them.
TEST(PrinterMib, OfflineInWarningCountsOnlyWhenNothingElseExplainsTheWarning) {
    const Supply toner4{"Black Toner", supply_type::kToner, supply_class::kConsumed, 4};
    const Supply toner80{"Black Toner", supply_type::kToner, supply_class::kConsumed, 80};
    const Supply wasteFull{"Waste Toner Box", supply_type::kWasteToner, supply_class::kReceptacle, 0};
    const struct {
        const char* what;
        std::int32_t deviceStatus;
        std::vector<std::byte> errorState;
        std::vector<Supply> supplies;
        const char* line;
    } cases[] = {
        {"lowToner bit", 3, Bytes({0x22}), {}, "Printer Status = Toner Low  \r\n"},
        {"toner at 4%", 3, Bytes({0x02}), {toner4}, "Printer Status = Ready\r\n"},
        {"lowPaper", 3, Bytes({0x83}), {toner80}, "Printer Status = Ready\r\n"},
        {"overduePreventMaint", 3, Bytes({0x02, 0x02}), {}, "Printer Status = Ready\r\n"},
        {"toner at 80%", 3, Bytes({0x03}), {toner80}, "Printer Status = Off Line  User Intervention  \r\n"},
        {"a full waste box", 3, Bytes({0x02}), {wasteFull}, "Printer Status = Off Line  \r\n"},
        {"down", 5, Bytes({0x22}), {toner4}, "Printer Status = Printer Error  Off Line  Toner Low  \r\n"},
    };
    for (const auto& c : cases) {
        const PrinterAnswer answer{c.deviceStatus, 1, c.errorState};
        EXPECT_EQ(PrinterStatusText(PrinterStatusBits(answer, c.supplies)), c.line) << c.what;
    }
}

TEST(PrinterMib, OnlyValuesOfTheObjectsTypeAreTaken) {
    PrinterAnswer answer;
    SnmpValue integer{SnmpValue::Kind::Integer, 5, {}};
    SnmpValue octets{SnmpValue::Kind::OctetString, 0, Bytes({0x04})};
    EXPECT_TRUE(TakeValue(PrinterObject::DeviceStatus, integer, answer));
    EXPECT_TRUE(TakeValue(PrinterObject::DetectedErrorState, octets, answer));
    EXPECT_TRUE(TakeValue(PrinterObject::PrinterStatus, std::nullopt, answer));
    EXPECT_EQ(answer.deviceStatus, 5);
    EXPECT_FALSE(answer.printerStatus.has_value());
    EXPECT_FALSE(TakeValue(PrinterObject::PrinterStatus, octets, answer));
    EXPECT_FALSE(TakeValue(PrinterObject::DetectedErrorState, integer, answer));
    EXPECT_FALSE(TakeValue(PrinterObject::DeviceStatus, SnmpValue{SnmpValue::Kind::Null, 0, {}}, answer));
    EXPECT_FALSE(answer.printerStatus.has_value());
}

} // namespace
} // namespace ambervale
