#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/GlanceCommandLine.h"

namespace ambervale {
namespace {

TEST(GlanceCommandLineTest, OnlyGlanceAsksForAReportAndAnyOtherStartStaysAsItWas) {
    struct Case {
        std::vector<std::string> arguments;
        bool glance;
        const char* history;  // nullptr: the default
        const char* report;
        bool usable;
    };
    const std::vector<Case> cases = {
        {{}, false, nullptr, nullptr, true},
        {{"/atlogon"}, false, nullptr, nullptr, true},
        {{"C:\\h.txt", "/glance"}, false, nullptr, nullptr, true},
        {{"/glance"}, true, nullptr, nullptr, true},
        {{"/GLANCE", "C:\\Ιστορικό\\h.txt"}, true, "C:\\Ιστορικό\\h.txt", nullptr, true},
        {{"/glance", "h.txt", "r.html"}, true, "h.txt", "r.html", true},
        {{"/glance", "h.txt", "r.html", "extra"}, true, nullptr, nullptr, false},
        {{"/glance", ""}, true, "", nullptr, false},
        {{"/glances"}, false, nullptr, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? std::string("(none)") : c.arguments[0]);
        const auto command = ParseGlanceCommand(c.arguments);
        ASSERT_EQ(command.has_value(), c.glance);
        if (!command) continue;
        EXPECT_EQ(command->mistake.empty(), c.usable);
        if (!c.usable) continue;
        EXPECT_EQ(command->history.value_or("(default)"), c.history ? c.history : "(default)");
        EXPECT_EQ(command->report.value_or("(default)"), c.report ? c.report : "(default)");
    }
}

} // namespace
} // namespace ambervale
