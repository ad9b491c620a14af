// The Get-Printer-Attributes request as bytes, and the reader of the printer's response: what it takes, and every way
// a response can be short, long, foreign or not ours.
#include "ipp/IppMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "fakes/FakeIpp.h"

namespace ambervale {
namespace {

using namespace std::string_view_literals;
using testing::IppBytes;

std::vector<std::byte> Raw(std::string_view text) {
    const auto bytes = std::as_bytes(std::span(text));
    return {bytes.begin(), bytes.end()};
}

TEST(IppMessage, TheRequestIsGetPrinterAttributesWithTheAttributesTheProgramReads) {
    const auto expected = Raw(
        "\x01\x01\x00\x0B\x01\x02\x03\x04"
        "\x01"
        "\x47\x00\x12" "attributes-charset" "\x00\x05" "utf-8"
        "\x48\x00\x1B" "attributes-natural-language" "\x00\x02" "en"
        "\x45\x00\x0B" "printer-uri" "\x00\x1D" "ipp://192.0.2.7:631/ipp/print"
        "\x44\x00\x14" "requested-attributes" "\x00\x0D" "printer-state"
        "\x44\x00\x00\x00\x15" "printer-state-reasons"
        "\x44\x00\x00\x00\x15" "printer-state-message"
        "\x44\x00\x00\x00\x0D" "printer-alert"
        "\x44\x00\x00\x00\x19" "printer-alert-description"
        "\x44\x00\x00\x00\x0C" "marker-names"
        "\x44\x00\x00\x00\x0C" "marker-types"
        "\x44\x00\x00\x00\x0D" "marker-levels"
        "\x44\x00\x00\x00\x0E" "printer-supply"
        "\x44\x00\x00\x00\x1A" "printer-supply-description"
        "\x03"sv);
    EXPECT_EQ(EncodeGetPrinterAttributes("ipp://192.0.2.7:631/ipp/print", 0x01020304), expected);
}

// Idle, with an empty tray and low toner, as a printer sends it: the reasons a 1setOf, a text with its language.
const std::string_view kIdleResponse =
    "\x02\x00\x00\x01\x00\x00\x00\x07"
    "\x01"
    "\x47\x00\x12" "attributes-charset" "\x00\x05" "utf-8"
    "\x48\x00\x1B" "attributes-natural-language" "\x00\x02" "en"
    "\x04"
    "\x23\x00\x0D" "printer-state" "\x00\x04\x00\x00\x00\x03"
    "\x44\x00\x15" "printer-state-reasons" "\x00\x12" "media-empty-report"
    "\x44\x00\x00\x00\x11" "toner-low-warning"
    "\x35\x00\x15" "printer-state-message" "\x00\x0B\x00\x02" "fr" "\x00\x05" "Pr\xC3\xAAt"
    "\x03"sv;

TEST(IppMessage, AResponseGivesEachAttributeWithAllItsValuesUnderItsGroup) {
    const auto response = ReadIppResponse(Raw(kIdleResponse), 7);
    ASSERT_TRUE(response.has_value());
    EXPECT_EQ(response->status, 1);
    ASSERT_EQ(response->attributes.size(), 5u);
    EXPECT_EQ(response->attributes[0].group, ipp_tag::kOperationGroup);
    const IppAttribute* reasons = response->PrinterAttribute("printer-state-reasons");
    ASSERT_NE(reasons, nullptr);
    EXPECT_EQ(reasons->values, (std::vector<IppValue>{{0x44, "media-empty-report"}, {0x44, "toner-low-warning"}}));
    EXPECT_EQ(IppIntegerOf(response->PrinterAttribute("printer-state")->values.at(0)), 3);
    EXPECT_EQ(IppTextOf(response->PrinterAttribute("printer-state-message")->values.at(0)), "Pr\xC3\xAAt");
    EXPECT_EQ(response->PrinterAttribute("attributes-charset"), nullptr) << "not the printer's group";
}

TEST(IppMessage, EveryTruncatedResponseIsNoAnswer) {
    const auto whole = Raw(kIdleResponse);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(ReadIppResponse(std::span(whole).first(size), 7).has_value()) << size << " bytes";
    }
}

TEST(IppMessage, OnlyAVersionOneOrTwoSuccessToThisRequestIsAnAnswer) {
    const struct {
        int major;
        int status;
        std::uint32_t id;
        bool answer;
    } cases[] = {
        {1, 0x0000, 7, true},  {2, 0x0001, 7, true},  {0, 0x0000, 7, false}, {3, 0x0000, 7, false},
        {2, 0x0002, 7, false}, {2, 0x0400, 7, false}, {2, 0x0500, 7, false}, {2, 0x0000, 8, false},
        {2, 0x0000, 0x80000007u, false},
    };
    for (const auto& c : cases) {
        IppBytes bytes;
        bytes.Header(c.major, c.status, c.id).Groups();
        EXPECT_EQ(ReadIppResponse(bytes.End(), 7).has_value(), c.answer) << c.major << " " << c.status << " " << c.id;
    }
}

TEST(IppMessage, EveryValueTagIsReadWithItsOctetsWhateverItsClass) {
    IppBytes bytes;
    bytes.Header(2, 0, 9).Groups();
    for (int tag = ipp_tag::kFirstValueTag; tag <= 0xFF; ++tag) {
        // Out-of-band values (0x10-0x1F) have no octets; the others one octet of their tag, twice for a 1setOf.
        const std::string octets = tag < 0x20 ? "" : std::string(1, static_cast<char>(tag));
        bytes.Value(tag, "a" + std::to_string(tag), octets).Value(tag, "", octets);
    }
    // Other groups after the printer's: job (0x02), unsupported (0x05), and ones not yet assigned.
    bytes.Octet(0x05).Value(ipp_tag::kKeyword, "x-unsupported", "y").Octet(0x0F).Value(0x44, "x-future", "z");
    const auto response = ReadIppResponse(bytes.End(), 9);
    ASSERT_TRUE(response.has_value());
    ASSERT_EQ(response->attributes.size(), 2u + (0x100 - ipp_tag::kFirstValueTag) + 2u);
    for (int tag = ipp_tag::kFirstValueTag; tag <= 0xFF; ++tag) {
        const IppAttribute* attribute = response->PrinterAttribute("a" + std::to_string(tag));
        ASSERT_NE(attribute, nullptr) << tag;
        ASSERT_EQ(attribute->values.size(), 2u) << tag;
        EXPECT_EQ(attribute->values[1].tag, tag);
        EXPECT_EQ(attribute->values[1].octets.size(), tag < 0x20 ? 0u : 1u) << tag;
    }
    EXPECT_EQ(response->attributes.back().group, 0x0F);
}

TEST(IppMessage, LongValuesAreReadWholeUpToTheSizeLimit) {
    // A length with its top bit set is no negative number.
    const std::string longest(0xFF00, 'x');
    IppBytes bytes;
    bytes.Header(2, 0, 1).Groups().Value(0x41, "printer-state-message", "").Value(0x41, "", longest);
    const auto response = ReadIppResponse(bytes.End(), 1);
    ASSERT_TRUE(response.has_value());
    EXPECT_EQ(response->PrinterAttribute("printer-state-message")->values.at(1).octets, longest);

    IppBytes tooLarge;
    tooLarge.Header(2, 0, 1).Groups();
    while (tooLarge.bytes.size() <= kMaxIppResponse) tooLarge.Value(0x41, "m", std::string(1000, 'y'));
    EXPECT_FALSE(ReadIppResponse(tooLarge.End(), 1).has_value());
}

TEST(IppMessage, BytesThatAreNoAttributeListAreNoAnswer) {
    const struct {
        const char* what;
        std::vector<std::byte> bytes;
    } cases[] = {
        {"a value before any group", IppBytes().Header(2, 0, 1).Value(0x44, "a", "b").End()},
        {"a further value with no attribute before it", IppBytes().Header(2, 0, 1).Octet(4).Value(0x44, "", "b").End()},
        {"a further value in another group than its attribute's",
         IppBytes().Header(2, 0, 1).Octet(4).Value(0x44, "a", "b").Octet(5).Value(0x44, "", "c").End()},
        {"a name longer than the bytes", IppBytes().Header(2, 0, 1).Octet(4).Octet(0x44).Short(40).Text("ab").End()},
        {"a value longer than the bytes",
         IppBytes().Header(2, 0, 1).Octet(4).Octet(0x44).Text("a").Short(0xFFFF).Octet(3).End()},
        {"no end of attributes", [] {
             auto bytes = IppBytes().Header(2, 0, 1).Groups().Value(0x44, "a", "b").End();
             bytes.pop_back();
             return bytes;
         }()},
        {"an HTML page", Raw("<html><body>Printer</body></html>")},
    };
    for (const auto& c : cases) EXPECT_FALSE(ReadIppResponse(c.bytes, 1).has_value()) << c.what;
}

TEST(IppMessage, ValuesAreTakenOnlyInTheirOwnForm) {
    EXPECT_EQ(IppIntegerOf({ipp_tag::kEnum, std::string("\xFF\xFF\xFF\xFE", 4)}), -2);
    EXPECT_EQ(IppIntegerOf({ipp_tag::kInteger, std::string("\x00\x00\x01\x00", 4)}), 256);
    EXPECT_EQ(IppIntegerOf({ipp_tag::kInteger, std::string("\x00\x01", 2)}), std::nullopt);
    EXPECT_EQ(IppIntegerOf({ipp_tag::kKeyword, std::string("\x00\x00\x00\x01", 4)}), std::nullopt);

    EXPECT_EQ(IppTextOf({ipp_tag::kNameWithoutLanguage, "Black"}), "Black");
    EXPECT_EQ(IppTextOf({ipp_tag::kNameWithLanguage, std::string("\x00\x02" "de" "\x00\x07" "Schwarz", 13)}),
              "Schwarz");
    EXPECT_EQ(IppTextOf({ipp_tag::kTextWithLanguage, std::string("\x00\x02" "de" "\x00\x09" "Schwarz", 13)}),
              std::nullopt) << "the text's length past the value";
    EXPECT_EQ(IppTextOf({ipp_tag::kTextWithLanguage, std::string("\x00\x02" "de" "\x00\x01" "Sx", 8)}),
              std::nullopt) << "bytes after the text";
    EXPECT_EQ(IppTextOf({ipp_tag::kTextWithLanguage, std::string("\x00\x09" "de", 4)}), std::nullopt);
    EXPECT_EQ(IppTextOf({ipp_tag::kOctetString, "type=toner"}), std::nullopt);
}

} // namespace
} // namespace ambervale
