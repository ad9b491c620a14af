#pragma once
// What the page's writer and its day pictures share.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "glance/DayBar.h"
#include "glance/GlancePage.h"

namespace ambervale::page {

// The record's names as the page shows them: escaped UTF-8, a shortened form for the pictures' tips, and each
// status's colour. Made when the page first shows them: a record written by hand may name a status at every line,
// of which the page shows few.
class ShownNames {
public:
    ShownNames(const GlanceNames& names, const GlancePageFacts& facts);
    const std::string& Status(std::uint32_t status) const { return Shown(status).words; }
    const std::string& StatusTip(std::uint32_t status) const { return Shown(status).tip; }
    const std::string& Colour(std::uint32_t status) const { return Shown(status).colour; }
    StatusKind Kind(std::uint32_t status) const { return names_.KindOf(status); }
    // A printer's name; cut to at most limit bytes where it is a heading, whole where scripts read it.
    std::string Printer(std::uint32_t printer, std::size_t limit = std::string::npos) const;
    // The text (ANSI) as escaped UTF-8, cut to at most limit bytes of it.
    std::string Text(std::string_view ansi, std::size_t limit = std::string::npos) const;
    const GlanceNames& Names() const { return names_; }

private:
    struct ShownStatus {
        std::string words;
        std::string tip;
        std::string colour;
    };
    const ShownStatus& Shown(std::uint32_t status) const;

    const GlanceNames& names_;
    const GlancePageFacts& facts_;
    std::vector<std::uint8_t> shades_;  // each status's place among those of its kind, for its colour
    mutable std::unordered_map<std::uint32_t, ShownStatus> shown_;
};

std::string Number(double value, int decimals);
// "08:15:04" for seconds from midnight.
std::string ClockText(std::int64_t inDay);

// One day's bar as an SVG picture, its bands no narrower than narrowest (seconds) unless they stand alone.
std::string DaySvg(const DayBar& day, const ShownNames& names, std::int64_t narrowest, const std::string& caption);

// The legend's pattern for bands that are runs of changes: one definition for the page.
inline constexpr std::string_view kChangingPattern =
    "<svg width=\"0\" height=\"0\" style=\"position:absolute\" aria-hidden=\"true\"><defs><pattern id=\"changing\" "
    "width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\" patternTransform=\"rotate(45)\"><rect width=\"3\" "
    "height=\"6\" fill=\"#fff\" fill-opacity=\"0.55\"/></pattern></defs></svg>\n";

} // namespace ambervale::page
