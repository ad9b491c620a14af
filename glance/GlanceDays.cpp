#include <algorithm>
#include <array>
#include <cstdio>

#include "glance/PageParts.h"

namespace ambervale::page {
namespace {

// Colours by kind, each status of a kind a shade of its own; the words, not the colour, name every band.
std::string ColourOf(StatusKind kind, int nth) {
    static constexpr std::array<const char*, 3> kReady = {"#2e8b57", "#3cb371", "#1f6f45"};
    static constexpr std::array<const char*, 4> kWorking = {"#3a6fb0", "#5b8fd0", "#2a4f80", "#7aa7dd"};
    static constexpr std::array<const char*, 4> kWarning = {"#d99a1e", "#b87d0a", "#e8b84a", "#a06a00"};
    static constexpr std::array<const char*, 5> kError = {"#c0392b", "#8e2318", "#e0604f", "#a8324a", "#702010"};
    const auto pick = [nth](const auto& palette) { return std::string(palette[nth % palette.size()]); };
    switch (kind) {
    case StatusKind::Ready: return pick(kReady);
    case StatusKind::Working: return pick(kWorking);
    case StatusKind::Warning: return pick(kWarning);
    case StatusKind::Error: return pick(kError);
    case StatusKind::NoReport: return "#6b6b6b";
    case StatusKind::NotRecorded: return "#d8d8d8";
    }
    return "#000000";
}

bool DarkFill(StatusKind kind) { return kind != StatusKind::NotRecorded && kind != StatusKind::Warning; }

// The words of a tip are cut here: a band's tip needs no status longer than this.
constexpr std::size_t kTipWords = 80;

void Band(std::string& svg, const DayBar& day, const BarPiece& band, const ShownNames& names) {
    const bool gap = band.status == kNotRecorded;
    const double x = static_cast<double>(band.from) / 60.0;
    const double width = static_cast<double>(band.to - band.from) / 60.0;
    const std::string at = "x=\"" + Number(x, 2) + "\" y=\"" + (gap ? "44" : "0") + "\" width=\"" +
                           Number(std::max(width, 0.5), 2) + "\" height=\"" + (gap ? "16" : "40") + "\"";
    std::string tip = names.StatusTip(band.status);
    if (band.Changing()) {
        tip = gap ? "not recorded: " + std::to_string(band.changes) + " gaps"
                  : "changing: " + std::to_string(band.changes) + " changes, the worst " + tip;
    }
    svg += "<rect " + at + " fill=\"" + names.Colour(band.status) + "\"" +
           (gap ? " stroke=\"#888\" stroke-dasharray=\"4 2\"" : "") + "><title>" + tip + " " +
           ClockText(day.ClockAt(band.from)) + "-" + ClockText(day.ClockAt(band.to)) + "</title></rect>";
    if (band.Changing() && !gap) svg += "<rect " + at + " fill=\"url(#changing)\" pointer-events=\"none\"/>";
    // The words name the band wherever they fit in it.
    const std::string& words = band.Changing() ? (gap ? names.Status(kNotRecorded) : std::string("changing"))
                                               : names.Status(band.status);
    if (width >= static_cast<double>(words.size()) * 8.0 + 8.0) {
        svg += "<text x=\"" + Number(x + width / 2, 2) + "\" y=\"" + (gap ? "57" : "25") +
               "\" text-anchor=\"middle\" fill=\"" + (DarkFill(names.Kind(band.status)) ? "#fff" : "#000") + "\"" +
               (gap ? " font-size=\"12\"" : "") + ">" + words + "</text>";
    }
}

} // namespace

ShownNames::ShownNames(const GlanceNames& names, const GlancePageFacts& facts) : names_(names), facts_(facts) {
    std::array<std::uint8_t, 6> seen{};
    for (std::uint32_t i = 0; i < names.Statuses().size(); ++i) {
        shades_.push_back(seen[static_cast<int>(names.KindOf(i))]++);
    }
}

const ShownNames::ShownStatus& ShownNames::Shown(std::uint32_t status) const {
    auto found = shown_.find(status);
    if (found == shown_.end()) {
        const std::string& words = names_.Statuses()[status];
        found = shown_.emplace(status, ShownStatus{Text(words), Text(words, kTipWords),
                                              ColourOf(names_.KindOf(status), shades_[status])}).first;
    }
    return found->second;
}

std::string ShownNames::Text(std::string_view ansi, std::size_t limit) const {
    std::string text = facts_.toUtf8 ? facts_.toUtf8(ansi.substr(0, limit)) : std::string(ansi.substr(0, limit));
    return EscapeHtml(text) + (ansi.size() > limit ? "..." : "");
}

std::string ShownNames::Printer(std::uint32_t printer, std::size_t limit) const {
    const std::string& name = names_.Printers()[printer];
    return name.empty() ? std::string("(no printer named)") : Text(name, limit);
}

std::string Number(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string ClockText(std::int64_t inDay) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(inDay / 3600), static_cast<int>(inDay / 60 % 60),
                  static_cast<int>(inDay % 60));
    return text;
}

std::string DaySvg(const DayBar& day, const ShownNames& names, std::int64_t narrowest, const std::string& caption) {
    const bool coarser = narrowest > DayBar::kNarrowest;
    // Coarser, a run may take in the short holes between its bands: the picture is an outline then, the day's words
    // below it are exact.
    const auto recorded = coarser ? CoarserBands(day.Recorded(), narrowest, narrowest, names.Names()) : day.Recorded();
    const auto gaps = coarser ? CoarserBands(day.NotRecorded(), narrowest, narrowest, names.Names()) : day.NotRecorded();
    // One unit a minute, so every day has the same scale: a 25-hour day is wider than a 24-hour one, a 23-hour day
    // narrower; recorded statuses in the upper lane, gaps in the record in the lower.
    const std::string width = Number(static_cast<double>(day.Length()) / 60.0, 0);
    std::string svg = "<svg viewBox=\"0 0 " + width + " 80\" style=\"width:" +
                      Number(100.0 * static_cast<double>(day.Length()) / (25.0 * 3600.0), 2) +
                      "%\" role=\"img\" aria-label=\"" + caption +
                      "\" font-family=\"Arial,sans-serif\" font-size=\"15\"><rect x=\"0\" y=\"0\" width=\"" + width +
                      "\" height=\"40\" fill=\"#fff\" stroke=\"#999\"/>";
    for (const BarPiece& band : recorded) Band(svg, day, band, names);
    for (const BarPiece& band : gaps) Band(svg, day, band, names);
    for (std::size_t i = 0; i < day.HourMarks().size(); ++i) {
        const std::string x = Number(static_cast<double>(day.HourMarks()[i]) / 60.0, 2);
        const int hour = static_cast<int>(i) * 3;
        svg += "<line x1=\"" + x + "\" y1=\"40\" x2=\"" + x + "\" y2=\"66\" stroke=\"#999\"/><text x=\"" + x +
               "\" y=\"78\" font-size=\"12\" text-anchor=\"" + (hour == 0 ? "start" : hour == 24 ? "end" : "middle") +
               "\">" + (hour < 10 ? "0" : "") + std::to_string(hour) + ":00</text>";
    }
    return svg + "</svg>";
}

} // namespace ambervale::page
