#include "printer/PrinterRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/PrinterRecordBuilder.h"

namespace ambervale {
namespace {

using testing::BuildJobInfo1;
using testing::BuildPrinterInfo2;
using testing::FakePrinterRecord;

struct LayoutCase {
    RecordLayout layout;
    std::uint64_t base;
    std::size_t fixedPart;
};

class PrinterRecordLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PrinterRecordLayouts, ReadsTheFourFields) {
    const auto [layout, base, fixedPart] = GetParam();
    const auto buffer = BuildPrinterInfo2(layout, base, {"Front Desk", "Generic Laser", "LPT1:", 0x80000011, {}});
    EXPECT_EQ(FixedPartSize(layout), fixedPart);
    EXPECT_EQ(buffer.size(), fixedPart + 11 + 14 + 6);

    const auto fields = DecodePrinterInfo2(buffer, base, layout);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->printerName, "Front Desk");
    EXPECT_EQ(fields->driverName, "Generic Laser");
    EXPECT_EQ(fields->portName, "LPT1:");
    EXPECT_EQ(fields->status, 0x80000011u);
}

TEST_P(PrinterRecordLayouts, ReadsAttributesAndJobCountBesideTheStatus) {
    const auto [layout, base, fixedPart] = GetParam();
    FakePrinterRecord record{"P", "D", "Port", 0x10, {}};
    record.attributes = 0x00000640;
    record.jobs = 0x01020304;
    const auto fields = DecodePrinterInfo2(BuildPrinterInfo2(layout, base, record), base, layout);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->attributes, 0x640u);
    EXPECT_EQ(fields->jobs, 0x01020304u);
    EXPECT_EQ(fields->status, 0x10u);
}

TEST_P(PrinterRecordLayouts, NullPointersReadAsOneBlank) {
    const auto [layout, base, fixedPart] = GetParam();
    const auto buffer = BuildPrinterInfo2(layout, base, {std::nullopt, std::nullopt, std::nullopt, 0, {}});
    const auto fields = DecodePrinterInfo2(buffer, base, layout);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->printerName, " ");
    EXPECT_EQ(fields->driverName, " ");
    EXPECT_EQ(fields->portName, " ");
}

TEST_P(PrinterRecordLayouts, PointersOutsideTheBufferAreNotFollowed) {
    const auto [layout, base, fixedPart] = GetParam();
    FakePrinterRecord record{"P", "D", "Port", 0, {}};
    const std::size_t size = BuildPrinterInfo2(layout, base, record).size();
    for (const std::uint64_t outside : {base - 1, base + size, base + size + 4096, std::uint64_t{1}}) {
        record.rawPortPointer = outside;
        const auto buffer = BuildPrinterInfo2(layout, base, record);
        const auto fields = DecodePrinterInfo2(buffer, base, layout);
        ASSERT_TRUE(fields.has_value());
        EXPECT_EQ(fields->portName, " ") << std::hex << outside;
        EXPECT_EQ(fields->printerName, "P");
    }
}

TEST_P(PrinterRecordLayouts, TooShortForTheFixedPartIsNoRecord) {
    const auto [layout, base, fixedPart] = GetParam();
    auto buffer = BuildPrinterInfo2(layout, base, {"P", "D", "Port", 0, {}});
    buffer.resize(fixedPart - 1);
    EXPECT_FALSE(DecodePrinterInfo2(buffer, base, layout).has_value());
    EXPECT_FALSE(DecodePrinterInfo2({}, base, layout).has_value());
}

INSTANTIATE_TEST_SUITE_P(BothPointerWidths, PrinterRecordLayouts,
                         ::testing::Values(LayoutCase{RecordLayout::Pointers32, 0x00412000, 84},
                                           LayoutCase{RecordLayout::Pointers64, 0x00007FF612340000, 136}));

class JobRecordLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(JobRecordLayouts, JoinsTheStatusOfTheWholeRecordsInsideTheBuffer) {
    const auto [layout, base, fixedPart] = GetParam();
    auto buffer = BuildJobInfo1(layout, base, {0x20, 0x400, 0x2});
    EXPECT_EQ(JobStatusBits(buffer, 3, layout), 0x422u);
    EXPECT_EQ(JobStatusBits(buffer, 1, layout), 0x20u) << "only the records the spooler says it wrote";
    EXPECT_EQ(JobStatusBits(buffer, 1000, layout), 0x422u) << "a count larger than the buffer holds";
    // Cut inside the second record, just after its status word: that record is not whole, so not read.
    const bool wide = layout == RecordLayout::Pointers64;
    const std::size_t recordSize = wide ? 96 : 64;
    buffer.resize(recordSize + (wide ? 60 : 32));
    EXPECT_EQ(JobStatusBits(buffer, 3, layout), 0x20u);
    buffer.resize(recordSize - 1);
    EXPECT_EQ(JobStatusBits(buffer, 3, layout), 0u) << "not even one whole record";
}

TEST_P(JobRecordLayouts, ReadsNoMoreThanTheFirstSixtyFourJobs) {
    const auto [layout, base, fixedPart] = GetParam();
    std::vector<std::uint32_t> statuses(64, 0x10);
    statuses.push_back(0x2);  // the 65th job
    const auto buffer = BuildJobInfo1(layout, base, statuses);
    EXPECT_EQ(JobStatusBits(buffer, 65, layout), 0x10u);
}

INSTANTIATE_TEST_SUITE_P(BothPointerWidths, JobRecordLayouts,
                         ::testing::Values(LayoutCase{RecordLayout::Pointers32, 0x00412000, 84},
                                           LayoutCase{RecordLayout::Pointers64, 0x00007FF612340000, 136}));

TEST(PrinterRecord, ThirtyTwoBitOffsetsByHand) {
    // pPrinterName at 4, pPortName at 12, pDriverName at 16, Attributes at 52, Status at 72, cJobs at 76;
    // strings from byte 84.
    std::vector<std::byte> buffer(84 + 6, std::byte{0});
    const std::uint64_t base = 0x10000;
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) buffer[at + i] = static_cast<std::byte>(v >> (8 * i));
    };
    put32(4, 0x10000 + 84);   // "ab"
    put32(12, 0x10000 + 87);  // "c"
    put32(16, 0x10000 + 89);  // ""
    put32(52, 0x400);
    put32(72, 0x80);
    put32(76, 7);
    buffer[84] = std::byte{'a'};
    buffer[85] = std::byte{'b'};
    buffer[87] = std::byte{'c'};
    const auto fields = DecodePrinterInfo2(buffer, base, RecordLayout::Pointers32);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->printerName, "ab");
    EXPECT_EQ(fields->portName, "c");
    EXPECT_EQ(fields->driverName, "");
    EXPECT_EQ(fields->attributes, 0x400u);
    EXPECT_EQ(fields->status, 0x80u);
    EXPECT_EQ(fields->jobs, 7u);
}

TEST(PrinterRecord, SixtyFourBitPointersUseAllEightBytes) {
    // A pointer that matches the base only in its low 32 bits points elsewhere.
    const std::uint64_t base = 0x0000000500000000;
    FakePrinterRecord record{"Name", "Driver", "Port", 0, 0x0000000400000000 + 136};
    const auto buffer = BuildPrinterInfo2(RecordLayout::Pointers64, base, record);
    const auto fields = DecodePrinterInfo2(buffer, base, RecordLayout::Pointers64);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->portName, " ");
    EXPECT_EQ(fields->printerName, "Name");
}

TEST(SpoolerString, CutsAfter256BytesAndStopsAtTheBufferEnd) {
    const std::uint64_t base = 0x2000;
    std::vector<std::byte> buffer;
    for (int i = 0; i < 300; ++i) buffer.push_back(static_cast<std::byte>('A' + i % 26));
    buffer.push_back(std::byte{0});

    const std::string cut = SpoolerString(buffer, base, base);
    ASSERT_EQ(cut.size(), 256u);
    EXPECT_EQ(cut.substr(0, 3), "ABC");
    EXPECT_EQ(cut.substr(250), "QRSTUV");  // bytes 250..255

    // No terminating NUL before the end: the text stops at the last byte of the buffer.
    buffer.pop_back();
    EXPECT_EQ(SpoolerString(buffer, base, base + 296), "KLMN");
    EXPECT_EQ(SpoolerString(buffer, base, base + 299), "N");
    EXPECT_EQ(SpoolerString(buffer, base, base + 300), " ");
}

TEST(SpoolerString, KeepsAnsiBytesAsTheyAre) {
    const std::vector<std::byte> buffer{std::byte{0xC4}, std::byte{'r'}, std::byte{0xE9}, std::byte{0}};
    EXPECT_EQ(SpoolerString(buffer, 0x100, 0x100), "\xC4r\xE9");
    EXPECT_EQ(SpoolerString(buffer, 0x100, 0), " ");
    EXPECT_EQ(SpoolerString(buffer, 0x100, 0x103), "");
}

TEST(SpoolerString, AddressesNearTheTopDoNotWrapAround) {
    const std::vector<std::byte> buffer(16, std::byte{'x'});
    const std::uint64_t base = 0xFFFFFFFFFFFFFFF0;
    EXPECT_EQ(SpoolerString(buffer, base, 0xFFFFFFFFFFFFFFFF), "x");
    EXPECT_EQ(SpoolerString(buffer, 0x10, 0xFFFFFFFFFFFFFFFF), " ");
}

} // namespace
} // namespace ambervale
