#include "ipp/IppPrinterState.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "printer/StatusBits.h"

namespace ambervale {
namespace {

struct ReasonWord {
    std::string_view reason;
    std::uint32_t bits;
};

// The reasons that have a word on the status line. A reason's suffix is its severity: -report is the least, for
// information only (an idle inkjet's empty photo tray, ippeveprinter's empty tray while it waits for a job), and adds
// nothing; -warning, -error and no suffix at all are conditions and give their words. Left out: media-low,
// marker-waste-almost-full and the other "almost" reasons (the next job still prints), and the reasons of a
// connection (connecting-to-device, timed-out), which speak of the printer's own upstream link.
// The supplies' own levels give "Toner Low" and "No Toner" too, by the same rule as SNMP's.
constexpr ReasonWord kReasonWords[] = {
    {"media-empty", status_bit::kPaperOut},
    {"media-needed", status_bit::kPaperOut},
    {"media-jam", status_bit::kPaperJam},
    {"toner-low", status_bit::kTonerLow},
    {"marker-supply-low", status_bit::kTonerLow},
    {"ink-low", status_bit::kTonerLow},
    {"toner-empty", status_bit::kNoToner},
    {"marker-supply-empty", status_bit::kNoToner},
    {"door-open", status_bit::kDoorOpen},
    {"cover-open", status_bit::kDoorOpen},
    {"interlock-open", status_bit::kDoorOpen},
    {"output-area-full", status_bit::kOutputBinFull},
    {"input-tray-missing", status_bit::kPaperProblem},
    {"output-tray-missing", status_bit::kPaperProblem},
    {"paused", status_bit::kPaused},
    {"moving-to-paused", status_bit::kPaused},
    {"offline", status_bit::kOffline},
    {"shutdown", status_bit::kOffline},
};

constexpr std::string_view kReportSuffix = "-report";
constexpr std::string_view kConditionSuffixes[] = {"-warning", "-error"};

// The supply kinds in the order of their numbers from 1, as marker-types spells them; printer-supply's type= spells
// the same words without hyphens ("wasteToner"), which NormalKeyword makes equal.
constexpr std::array<std::string_view, 36> kSupplyKeywords{
    "other",          "unknown",        "toner",          "waste-toner",        "ink",
    "ink-cartridge",  "ink-ribbon",     "waste-ink",      "opc",                "developer",
    "fuser-oil",      "solid-wax",      "ribbon-wax",     "waste-wax",          "fuser",
    "corona-wire",    "fuser-oil-wick", "cleaner-unit",   "fuser-cleaning-pad", "transfer-unit",
    "toner-cartridge", "fuser-oiler",   "water",          "waste-water",        "glue-water-additive",
    "waste-paper",    "binding-supply", "banding-supply", "stitching-wire",     "shrink-wrap",
    "paper-wrap",     "staples",        "inserts",        "covers",             "matte-toner",
    "matte-ink"};

std::string NormalKeyword(std::string_view keyword) {
    std::string normal;
    for (const char c : keyword) {
        if (c != '-') normal += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return normal;
}

// A supply's name as the program keeps it: the printer's UTF-8 in the ANSI code page where this PC can convert it.
std::string KeptText(std::string_view utf8, ForeignText& text) {
    // No character is longer than four bytes in UTF-8.
    return DescriptionText(utf8.substr(0, kMaxSupplyDescription * 4), charset::kUtf8, &text);
}

std::vector<std::string> Texts(const IppAttribute* attribute) {
    std::vector<std::string> texts;
    if (attribute == nullptr) return texts;
    for (const IppValue& value : attribute->values) texts.push_back(IppTextOf(value).value_or(""));
    return texts;
}

// printer-supply's "key=value;key=value;" value of that key; empty when absent.
std::string_view SupplyField(std::string_view supply, std::string_view key) {
    while (!supply.empty()) {
        const std::size_t end = std::min(supply.find(';'), supply.size());
        const std::string_view field = supply.substr(0, end);
        const std::size_t equals = field.find('=');
        if (equals != std::string_view::npos && field.substr(0, equals) == key) return field.substr(equals + 1);
        supply.remove_prefix(std::min(end + 1, supply.size()));
    }
    return {};
}

// A whole decimal number of at most nine digits, with an optional minus; nullopt for anything else.
std::optional<std::int64_t> SupplyNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::int64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return negative ? -number : number;
}

std::vector<Supply> FromPrinterSupply(const IppAttribute& supplies, const IppAttribute* descriptions,
                                      ForeignText& text) {
    const std::vector<std::string> names = Texts(descriptions);
    std::vector<Supply> read;
    for (std::size_t i = 0; i < supplies.values.size() && read.size() < kMaxSupplies; ++i) {
        const IppValue& value = supplies.values[i];
        if (value.tag != ipp_tag::kOctetString) continue;
        const std::string_view fields = value.octets;
        Supply supply;
        supply.index = static_cast<std::uint32_t>(i + 1);
        supply.type = IppSupplyType(SupplyField(fields, "type"));
        const std::string_view supplyClass = SupplyField(fields, "class");
        if (supplyClass == "supplyThatIsConsumed") supply.supplyClass = supply_class::kConsumed;
        if (supplyClass == "receptacleThatIsFilled") supply.supplyClass = supply_class::kReceptacle;
        const auto level = SupplyNumber(SupplyField(fields, "level"));
        const auto capacity = SupplyNumber(SupplyField(fields, "maxcapacity"));
        if (level && capacity) supply.percent = SupplyPercent(*level, *capacity);
        const std::string_view name = i < names.size() ? std::string_view(names[i]) : std::string_view();
        supply.description = name.empty() ? std::string(SupplyTypeWord(supply.type)) : KeptText(name, text);
        read.push_back(std::move(supply));
    }
    return read;
}

std::vector<Supply> FromMarkers(const IppResponse& response, ForeignText& text) {
    const IppAttribute* levels = response.PrinterAttribute("marker-levels");
    if (levels == nullptr) return {};
    const std::vector<std::string> types = Texts(response.PrinterAttribute("marker-types"));
    const std::vector<std::string> names = Texts(response.PrinterAttribute("marker-names"));
    std::vector<Supply> read;
    for (std::size_t i = 0; i < levels->values.size() && read.size() < kMaxSupplies; ++i) {
        const std::optional<std::int32_t> level = IppIntegerOf(levels->values[i]);
        if (!level) continue;
        Supply supply;
        supply.index = static_cast<std::uint32_t>(i + 1);
        supply.type = i < types.size() ? IppSupplyType(types[i]) : supply_type::kUnknown;
        supply.percent = SupplyPercent(*level, 100);  // marker-levels are percents; -1, -2 and -3 say nothing
        const std::string_view name = i < names.size() ? std::string_view(names[i]) : std::string_view();
        supply.description = name.empty() ? std::string(SupplyTypeWord(supply.type)) : KeptText(name, text);
        read.push_back(std::move(supply));
    }
    return read;
}

} // namespace

std::uint32_t IppReasonBits(std::string_view reason) {
    if (reason.ends_with(kReportSuffix)) return 0;
    for (const std::string_view suffix : kConditionSuffixes) {
        if (reason.size() > suffix.size() && reason.ends_with(suffix)) {
            reason.remove_suffix(suffix.size());
            break;
        }
    }
    for (const ReasonWord& word : kReasonWords) {
        if (word.reason == reason) return word.bits;
    }
    return 0;
}

std::uint32_t IppStateBits(std::optional<std::int32_t> state, const std::vector<std::string>& reasons) {
    std::uint32_t bits = 0;
    for (const std::string& reason : reasons) bits |= IppReasonBits(reason);
    if (state == ipp_state::kProcessing) bits |= status_bit::kPrinting;
    if (state == ipp_state::kStopped && bits == 0) bits |= status_bit::kError;
    return bits;
}

std::int32_t IppSupplyType(std::string_view keyword) {
    const std::string normal = NormalKeyword(keyword);
    for (std::size_t i = 0; i < kSupplyKeywords.size(); ++i) {
        if (NormalKeyword(kSupplyKeywords[i]) == normal) return static_cast<std::int32_t>(i + 1);
    }
    return supply_type::kUnknown;
}

std::vector<Supply> IppSupplies(const IppResponse& response, ForeignText& text) {
    if (const IppAttribute* supplies = response.PrinterAttribute("printer-supply")) {
        std::vector<Supply> read =
            FromPrinterSupply(*supplies, response.PrinterAttribute("printer-supply-description"), text);
        if (!read.empty()) return read;
    }
    return FromMarkers(response, text);
}

std::uint32_t IppResponseBits(const IppResponse& response, const std::vector<Supply>& supplies) {
    std::optional<std::int32_t> state;
    if (const IppAttribute* attribute = response.PrinterAttribute("printer-state")) {
        if (attribute->values.size() == 1 && attribute->values[0].tag == ipp_tag::kEnum) {
            state = IppIntegerOf(attribute->values[0]);
        }
    }
    std::vector<std::string> reasons;
    if (const IppAttribute* attribute = response.PrinterAttribute("printer-state-reasons")) {
        for (const IppValue& value : attribute->values) {
            if (value.tag == ipp_tag::kKeyword) reasons.push_back(value.octets);
        }
    }
    return IppStateBits(state, reasons) | SupplyStatusBits(supplies);
}

} // namespace ambervale
