#include "printer/Supplies.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "printer/StatusBits.h"

namespace ambervale {

std::optional<int> SupplyPercent(std::int64_t level, std::int64_t maxCapacity) {
    if (level < 0 || maxCapacity <= 0) return std::nullopt;
    // Both come from 32-bit values, so the product cannot overflow 64 bits.
    return static_cast<int>(std::min<std::int64_t>(level * 100 / maxCapacity, 100));
}

SupplyIdentity IdentityOf(std::span<const Supply> supplies, std::size_t at) {
    const std::int32_t type = supplies[at].type;
    const auto place = std::count_if(supplies.begin(), supplies.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                                     [type](const Supply& supply) { return supply.type == type; });
    return {type, static_cast<std::size_t>(place)};
}

bool IsReceptacle(const Supply& supply) {
    using namespace supply_type;
    if (supply.supplyClass == supply_class::kReceptacle) return true;
    const std::int32_t type = supply.type;
    return type == kWasteToner || type == kWasteInk || type == kWasteWax || type == kWasteWater ||
           type == kWastePaper;
}

bool IsMarkerSupply(const Supply& supply) {
    using namespace supply_type;
    if (IsReceptacle(supply)) return false;
    const std::int32_t type = supply.type;
    return type == kToner || type == kTonerCartridge || type == kInk || type == kInkCartridge ||
           type == kInkRibbon || type == kSolidWax || type == kRibbonWax;
}

std::uint32_t SupplyStatusBits(std::span<const Supply> supplies) {
    std::uint32_t bits = 0;
    for (const Supply& supply : supplies) {
        if (!IsMarkerSupply(supply) || !supply.percent) continue;
        if (*supply.percent <= kSupplyEmptyPercent) {
            bits |= status_bit::kNoToner;
        } else if (*supply.percent <= kSupplyLowPercent) {
            bits |= status_bit::kTonerLow;
        }
    }
    return bits;
}

std::string_view SupplyTypeWord(std::int32_t type) {
    // In the order of the MIB's numbers, from 1.
    static constexpr std::array<std::string_view, 36> kWords{
        "other",           "unknown",        "toner",          "waste toner",     "ink",
        "ink cartridge",   "ink ribbon",     "waste ink",      "drum (opc)",      "developer",
        "fuser oil",       "solid wax",      "ribbon wax",     "waste wax",       "fuser",
        "corona wire",     "fuser oil wick", "cleaner unit",   "fuser cleaning pad", "transfer unit",
        "toner cartridge", "fuser oiler",    "water",          "waste water",     "glue water additive",
        "waste paper",     "binding supply", "banding supply", "stitching wire",  "shrink wrap",
        "paper wrap",      "staples",        "inserts",        "covers",          "matte toner",
        "matte ink"};
    if (type < 1 || type > static_cast<std::int32_t>(kWords.size())) return "supply";
    return kWords[static_cast<std::size_t>(type - 1)];
}

std::string PrintableAscii(std::string_view bytes, std::size_t maxBytes) {
    std::string text;
    for (const char c : bytes) {
        if (text.size() == maxBytes) break;
        const auto octet = static_cast<unsigned char>(c);
        if (octet < 0x20 || octet == 0x7F) continue;
        text += octet < 0x80 ? c : '?';
    }
    return text;
}

std::string DescriptionText(std::string_view bytes, std::optional<std::uint32_t> characterSet, ForeignText* text) {
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!characterSet || text == nullptr || ascii) return PrintableAscii(bytes);
    const std::optional<std::string> ansi = text->ToAnsi(bytes, *characterSet);
    if (!ansi) return PrintableAscii(bytes);
    std::string shown;
    for (const char c : *ansi) {
        if (shown.size() == kMaxSupplyDescription) break;
        const auto octet = static_cast<unsigned char>(c);
        if (octet >= 0x20 && octet != 0x7F) shown += c;
    }
    return shown;
}

} // namespace ambervale
