#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ForeignText.h"
#include "ipp/IppMessage.h"
#include "printer/Supplies.h"

namespace ambervale {

// printer-state values.
namespace ipp_state {
inline constexpr std::int32_t kIdle = 3;
inline constexpr std::int32_t kProcessing = 4;
inline constexpr std::int32_t kStopped = 5;
} // namespace ipp_state

// The status-table bits of one printer-state-reasons keyword: its word when it is a condition (-warning, -error, or
// no suffix); 0 for a report (-report, information only) and for a reason without a word.
std::uint32_t IppReasonBits(std::string_view reason);

// The status-table bits of the printer's state and reasons: the reasons' words, "Printing" while it is processing,
// "Printer Error" when it is stopped and no reason has a word.
std::uint32_t IppStateBits(std::optional<std::int32_t> state, const std::vector<std::string>& reasons);

// A supply kind's number from an IPP keyword: marker-types spells it "waste-toner", printer-supply's type=
// "wasteToner"; supply_type::kUnknown for a kind the program does not know.
std::int32_t IppSupplyType(std::string_view keyword);

// The printer's supplies: from printer-supply (with printer-supply-description) when the printer sends it, else from
// marker-levels with marker-types and marker-names. Descriptions are turned from UTF-8 into ANSI text by text. At most
// kMaxSupplies.
std::vector<Supply> IppSupplies(const IppResponse& response, ForeignText& text);

// The status-table bits the whole response stands for: the state, the reasons and the supplies.
std::uint32_t IppResponseBits(const IppResponse& response, const std::vector<Supply>& supplies);

} // namespace ambervale
