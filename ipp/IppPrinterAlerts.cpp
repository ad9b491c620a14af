#include "ipp/IppPrinterAlerts.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "asking/AlertText.h"
#include "asking/PrinterAlerts.h"
#include "ipp/IppPrinterState.h"

namespace ambervale {
namespace {

// Reasons that are no condition whatever their suffix: the state's "nothing to say", a fuser still cold as the
// printer wakes (a fuser that fails to heat stops the printer: -error), a request to show where the printer is.
constexpr std::string_view kNoProblemReasons[] = {"none", "fuser-under-temp", "identify-printer-requested"};

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<PrinterAlert::Severity> ReasonSeverity(std::string_view reason) {
    if (reason.ends_with("-report")) return std::nullopt;
    const bool error = reason.ends_with("-error");
    if (error) reason.remove_suffix(std::string_view("-error").size());
    if (reason.ends_with("-warning")) reason.remove_suffix(std::string_view("-warning").size());
    const bool quiet = std::any_of(std::begin(kNoProblemReasons), std::end(kNoProblemReasons),
                                   [&](std::string_view none) { return reason == none; });
    if (error) return PrinterAlert::Severity::Critical;
    if (quiet) return std::nullopt;
    return PrinterAlert::Severity::Warning;
}

// How grave the condition is that the state message speaks of; nullopt while there is none.
std::optional<PrinterAlert::Severity> StateSeverity(const IppResponse& response) {
    std::optional<PrinterAlert::Severity> gravest;
    if (const IppAttribute* state = response.PrinterAttribute("printer-state")) {
        if (state->values.size() == 1 && IppIntegerOf(state->values[0]) == ipp_state::kStopped) {
            gravest = PrinterAlert::Severity::Critical;
        }
    }
    if (const IppAttribute* reasons = response.PrinterAttribute("printer-state-reasons")) {
        for (const IppValue& value : reasons->values) {
            if (value.tag != ipp_tag::kKeyword) continue;
            const auto severity = ReasonSeverity(value.octets);
            if (severity && (!gravest || *severity == PrinterAlert::Severity::Critical)) gravest = severity;
        }
    }
    return gravest;
}

// printer-alert's "key=value;key=value" value of that key, the key's case aside; nullopt when absent.
std::optional<std::string_view> AlertField(std::string_view alert, std::string_view key) {
    while (!alert.empty()) {
        const std::size_t end = std::min(alert.find(';'), alert.size());
        const std::string_view field = alert.substr(0, end);
        const std::size_t equals = field.find('=');
        if (equals != std::string_view::npos && SameName(field.substr(0, equals), key)) return field.substr(equals + 1);
        alert.remove_prefix(std::min(end + 1, alert.size()));
    }
    return std::nullopt;
}

std::string KeptText(const IppValue& value, ForeignText& text) {
    const std::optional<std::string> utf8 = IppTextOf(value);
    return utf8 ? AlertText(*utf8, charset::kUtf8, &text) : std::string();
}

} // namespace

std::vector<PrinterAlert> IppAlerts(const IppResponse& response, ForeignText& text) {
    std::vector<PrinterAlert> alerts;
    const IppAttribute* message = response.PrinterAttribute("printer-state-message");
    if (message != nullptr && message->values.size() == 1) {
        const auto severity = StateSeverity(response);
        if (severity) alerts.push_back({*severity, KeptText(message->values[0], text)});
    }
    const IppAttribute* codes = response.PrinterAttribute("printer-alert");
    const IppAttribute* descriptions = response.PrinterAttribute("printer-alert-description");
    if (codes == nullptr || descriptions == nullptr) return KeptAlerts(std::move(alerts));
    const std::size_t count = std::min(codes->values.size(), descriptions->values.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (codes->values[i].tag != ipp_tag::kOctetString) continue;
        const std::string_view alert = codes->values[i].octets;
        const auto severity = AlertSeverityNamed(AlertField(alert, "severity").value_or(""));
        if (!severity) continue;
        const auto code = AlertField(alert, "code");
        const auto group = AlertField(alert, "group");
        if (!NamesAProblem(*severity, group ? AlertGroupNamed(*group) : std::nullopt,
                           code ? AlertCodeNamed(*code) : std::nullopt)) {
            continue;
        }
        alerts.push_back({*severity, KeptText(descriptions->values[i], text)});
    }
    return KeptAlerts(std::move(alerts));
}

} // namespace ambervale
