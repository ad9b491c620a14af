// The printer's own words over IPP: its state message while its state names a condition, and the descriptions of its
// alerts of severity critical or warning whose codes name a problem.
#include "ipp/IppPrinterAlerts.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "fakes/FakeIpp.h"

namespace ambervale {
namespace {

using testing::FakeForeignText;
using testing::IppBytes;
using testing::PrinterResponse;

// The alerts as "C:text|W:text".
std::string Told(const std::function<void(IppBytes&)>& fill) {
    const auto response = ReadIppResponse(PrinterResponse(1, fill), 1);
    FakeForeignText text;
    std::string told;
    for (const PrinterAlert& a : IppAlerts(*response, text)) {
        told += (told.empty() ? "" : "|") + std::string(a.severity == PrinterAlert::Severity::Critical ? "C:" : "W:") +
                a.text;
    }
    return told;
}

void State(IppBytes& b, int state, std::initializer_list<const char*> reasons, const char* message) {
    b.Integer(ipp_tag::kEnum, "printer-state", state);
    const char* name = "printer-state-reasons";
    for (const char* reason : reasons) b.Value(ipp_tag::kKeyword, std::exchange(name, ""), reason);
    b.Value(ipp_tag::kTextWithoutLanguage, "printer-state-message", message);
}

TEST(IppPrinterAlerts, TheMessageSpeaksWhileTheStateNamesAConditionAndAlertsByTheirSeverityAndCode) {
    EXPECT_EQ(Told([](IppBytes& b) {
                  State(b, 5, {"media-jam-error", "toner-low-report"}, "Paper jam in tray 2");
                  b.Value(0x30, "printer-alert", "code=jam;severity=critical;group=mediaPath")
                      .Value(0x30, "", "code=subunitPowerSaver;severity=warning;group=generalPrinter")
                      .Value(0x30, "", "CODE=other;SEVERITY=report")
                      .Value(0x30, "", "code=markerTonerAlmostEmpty;severity=Warning")
                      .Value(0x30, "", "code=other;severity=critical;group=alert")
                      .Value(0x30, "", "code=markerFuserUnderTemperature;severity=critical")
                      .Value(0x30, "", "code=other;severity=critical");
                  b.Value(0x41, "printer-alert-description", "Paper jam in tray 2").Value(0x41, "", "Sleep")
                      .Value(0x41, "", "Hello").Value(0x41, "", "Toner \xC3\xA9low\x01").Value(0x41, "", "Removed")
                      .Value(0x35, "", std::string("\0\x02" "en\0\x0C" "Fuser failed", 18));
              }),
              "C:Paper jam in tray 2|C:Fuser failed|W:Toner #low") << "the last alert has no description";
    const struct {
        int state;
        std::initializer_list<const char*> reasons;
        const char* told;
    } messages[] = {
        {3, {"none"}, ""},
        {3, {"toner-low-report"}, ""},
        {3, {"toner-low-warning", "media-empty-report"}, "W:It says"},
        {4, {"fuser-under-temp-warning"}, ""},
        {3, {"paused"}, "W:It says"},
        {3, {"media-empty-error", "toner-low-warning"}, "C:It says"},
        {5, {"none"}, "C:It says"},
    };
    for (const auto& m : messages) {
        EXPECT_EQ(Told([&](IppBytes& b) { State(b, m.state, m.reasons, "It says"); }), m.told) << *m.reasons.begin();
    }
}

} // namespace
} // namespace ambervale
