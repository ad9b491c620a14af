#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/ForeignText.h"

namespace ambervale {

// The kinds of supply (the Printer MIB's PrtMarkerSuppliesTypeTC; IPP's marker-types name the same kinds).
namespace supply_type {
inline constexpr std::int32_t kOther = 1;
inline constexpr std::int32_t kUnknown = 2;
inline constexpr std::int32_t kToner = 3;
inline constexpr std::int32_t kWasteToner = 4;
inline constexpr std::int32_t kInk = 5;
inline constexpr std::int32_t kInkCartridge = 6;
inline constexpr std::int32_t kInkRibbon = 7;
inline constexpr std::int32_t kWasteInk = 8;
inline constexpr std::int32_t kOpc = 9;
inline constexpr std::int32_t kDeveloper = 10;
inline constexpr std::int32_t kFuserOil = 11;
inline constexpr std::int32_t kSolidWax = 12;
inline constexpr std::int32_t kRibbonWax = 13;
inline constexpr std::int32_t kWasteWax = 14;
inline constexpr std::int32_t kFuser = 15;
inline constexpr std::int32_t kTonerCartridge = 21;
inline constexpr std::int32_t kWasteWater = 24;
inline constexpr std::int32_t kWastePaper = 26;
inline constexpr std::int32_t kMatteInk = 36;  // the last kind the MIB names
} // namespace supply_type

// PrtMarkerSuppliesClassTC: whether a supply is used up or filled up.
namespace supply_class {
inline constexpr std::int32_t kOther = 1;
inline constexpr std::int32_t kConsumed = 3;
inline constexpr std::int32_t kReceptacle = 4;
} // namespace supply_class

// A supply's level as the printer reports it, beside its maximum capacity. The MIB's and IPP's special levels:
inline constexpr std::int64_t kLevelOther = -1;
inline constexpr std::int64_t kLevelUnknown = -2;
inline constexpr std::int64_t kLevelSomeRemaining = -3;

// Supply thresholds, those of CUPS: a marker supply at or below them is empty or low.
inline constexpr int kSupplyEmptyPercent = 1;
inline constexpr int kSupplyLowPercent = 5;
// A supply that was low and stands at this or more has been replaced.
inline constexpr int kSupplyReplacedPercent = 50;

// One of the printer's supplies (toner, ink, drum, waste box...).
struct Supply {
    std::string description;  // printable ANSI text, at most kMaxSupplyDescription bytes
    std::int32_t type = supply_type::kUnknown;
    std::int32_t supplyClass = supply_class::kOther;
    std::optional<int> percent;  // what remains, 0 to 100; nullopt when the printer gives no level to count on
    // Where the printer lists it: the SNMP row's index, the IPP value's place from 1. Who it is, through every
    // reading, is its SupplyIdentity.
    std::uint32_t index = 0;

    bool operator==(const Supply&) const = default;
};

inline constexpr std::size_t kMaxSupplyDescription = 255;
// More supplies than this are not read: no printer has them, and a device that claims to is answering nonsense.
inline constexpr std::size_t kMaxSupplies = 32;

// Who a supply is, whatever the printer calls it: its kind, and its place among the printer's supplies of that kind
// in the printer's own order (the second toner). Its description is no part of it: the same toner reads "Tóner" when
// the printer's character set could be read within the budget and "T?ner" when not, and IPP names it by
// printer-supply-description in one answer and by marker-names (or not at all) in the next. A row that comes to hold
// another kind of supply holds another supply.
struct SupplyIdentity {
    std::int32_t type = supply_type::kUnknown;
    std::size_t place = 0;  // from 1

    bool operator==(const SupplyIdentity&) const = default;
};
SupplyIdentity IdentityOf(std::span<const Supply> supplies, std::size_t at);

// The percent that remains: level x 100 / max when both are >= 0 and max > 0 (at most 100); nullopt for the special
// levels (-1, -2, -3) and for a capacity that says nothing.
std::optional<int> SupplyPercent(std::int64_t level, std::int64_t maxCapacity);

// A receptacle that fills up (a waste toner box...): makers disagree on what its level means, so it adds nothing.
bool IsReceptacle(const Supply& supply);
// A supply the printer marks paper with (toner, ink, wax): its level is what "Toner Low" and "No Toner" speak of.
bool IsMarkerSupply(const Supply& supply);

// The status-table bits the supplies stand for: a marker supply at or below 1% is "No Toner", at or below 5%
// "Toner Low".
std::uint32_t SupplyStatusBits(std::span<const Supply> supplies);

// The supply's kind as a word for people ("toner", "ink", "drum (opc)", "fuser", ...).
std::string_view SupplyTypeWord(std::int32_t type);

// Text from the network, made safe to show: NULs and control characters dropped, bytes outside ASCII shown as '?',
// at most maxBytes bytes.
std::string PrintableAscii(std::string_view bytes, std::size_t maxBytes = kMaxSupplyDescription);

// A supply's description from the network: at most kMaxSupplyDescription bytes, control characters and NULs dropped;
// bytes outside ASCII in the ANSI code page when characterSet names their set and text can read it, else '?'.
std::string DescriptionText(std::string_view bytes, std::optional<std::uint32_t> characterSet, ForeignText* text);

} // namespace ambervale
