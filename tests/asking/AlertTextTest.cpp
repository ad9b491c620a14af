// The printer's words made safe to show, whatever bytes came: controls, invalid UTF-8, marks that turn text around,
// bytes of no known set, and texts too long, cut between characters of one and two bytes.
#include "asking/AlertText.h"

#include <gtest/gtest.h>

#include <string>

#include "printer/PrinterOwnReport.h"

namespace ambervale {
namespace {

// A PC whose ANSI code page is UTF-8, or Japanese (Shift_JIS, whose characters of two bytes start 0x81-0x9F or
// 0xE0-0xFC): the printer's text comes through in either as it is.
struct AnsiAs : ForeignText {
    explicit AnsiAs(std::uint32_t set) : set(set) {}
    std::optional<std::string> ToAnsi(std::string_view bytes, std::uint32_t mibEnum) override {
        if (mibEnum != set) return std::nullopt;
        return std::string(bytes);
    }
    std::size_t AnsiCharacterBytes(unsigned char b) override {
        if (set == charset::kUtf8) return b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
    }
    std::uint32_t set;
};
constexpr std::uint32_t kShiftJis = 17;

std::string Times(int n, std::string_view s) { return n > 0 ? std::string(s) + Times(n - 1, s) : std::string(); }

using namespace std::string_literals;

TEST(AlertText, ControlsGoInvalidBytesAreReplacedAndLongTextIsCutBetweenCharacters) {
    AnsiAs utf8(charset::kUtf8), japanese(kShiftJis);
    const std::string fffd = "\xEF\xBF\xBD";
    const struct {
        std::string bytes;
        std::optional<std::uint32_t> set;
        ForeignText* text;
        std::string shown;
    } cases[] = {
        {"  Paper\r\n\tJam \0 in Tray 2\x7F "s, std::nullopt, nullptr, "Paper Jam in Tray 2"},
        {"T\xC3\xB3ner", charset::kUtf8, &utf8, "T\xC3\xB3ner"},
        {"T\xF3ner", charset::kLatin1, &utf8, "T?ner"},  // a set this PC cannot read
        {"a\xFF" "b\xC0\xAF" "c\xED\xA0\x80" "d\xE2\x82", charset::kUtf8, &utf8,
         "a" + fffd + "b" + fffd + fffd + "c" + fffd + fffd + fffd + "d" + fffd + fffd},
        {"\xEF\xBB\xBF" "Jam\xC2\x85 \xE2\x80\xAE" "1 yarT", charset::kUtf8, &utf8, "Jam 1 yarT"},
        {"\0\x01\x02 \r\n"s, charset::kUtf8, &utf8, ""},
        {std::string(10000, 'x'), std::nullopt, nullptr, std::string(157, 'x') + "..."},
        {Times(100, "\xC3\xA9"), charset::kUtf8, &utf8, Times(78, "\xC3\xA9") + "..."},
        {Times(100, "\x83\x5C"), kShiftJis, &japanese, Times(78, "\x83\x5C") + "..."},
        {Times(40, "Ink low. ") + "C", std::nullopt, nullptr, Times(17, "Ink low. ") + "Ink..."},
    };
    for (const auto& c : cases) {
        const std::string shown = AlertText(c.bytes, c.set, c.text);
        EXPECT_EQ(shown, c.shown) << c.bytes.substr(0, 40);
        EXPECT_LE(shown.size(), kPrinterAlertTextLimit);
    }
}

} // namespace
} // namespace ambervale
