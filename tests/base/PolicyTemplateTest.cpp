// The administrative template and the event subscription against the program itself, read from the source tree.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "base/Policy.h"
#include "logging/IntervalTable.h"

namespace ambervale {
namespace {

std::string SourceFile(const std::string& relative) {
    std::ostringstream text;
    text << std::ifstream(std::string(AMBERVALE_SOURCE_DIR) + "/" + relative, std::ios::binary).rdbuf();
    return text.str();
}

std::set<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
        found.insert((*it)[1]);
    }
    return found;
}

TEST(PolicyTemplate, NamesExactlyTheProgramsValuesUnderItsKeyAsDwordsOfTheAllowedValues) {
    const std::string admx = SourceFile("installer/policy/Ambervale.admx");
    const std::string adml = SourceFile("installer/policy/en-US/Ambervale.adml");
    std::map<std::string, std::set<std::string>> written;  // value name -> the DWORDs the template writes
    const std::regex policy("<policy\\s([^>]*)>([\\s\\S]*?)</policy>");
    for (auto it = std::sregex_iterator(admx.begin(), admx.end(), policy); it != std::sregex_iterator(); ++it) {
        const std::string tag = (*it)[1], whole = (*it)[0];
        EXPECT_EQ(Matches(tag, "key=\"([^\"]*)\""), std::set<std::string>{std::string(kPolicyKeyPath)}) << tag;
        EXPECT_EQ(Matches(tag, "class=\"([^\"]*)\""), std::set<std::string>{"Both"}) << tag;
        EXPECT_FALSE(std::regex_search(whole, std::regex("<(string|longDecimal|text|multiText|list)\\b"))) << tag;
        const std::set<std::string> names = Matches(whole, "valueName=\"([^\"]*)\"");
        ASSERT_EQ(names.size(), 1u) << tag;
        written[*names.begin()] = Matches(whole, "<decimal value=\"([0-9]+)\"");
    }
    std::map<std::string, std::set<std::string>> read;
    for (const PolicyRule* rule : kPolicyRules) {
        std::set<std::string>& values = read[std::string(rule->name)];
        for (const std::uint32_t value : rule->allowed) values.insert(std::to_string(value));
        if (rule->allowed.empty()) values = {"0", "1"};  // a switch: only 0 turns it off
    }
    EXPECT_EQ(written, read);

    // Every text the template refers to is in its language file, and the intervals are named as the list names them.
    for (const std::string& id : Matches(admx, "\\$\\(string\\.(\\w+)\\)")) {
        EXPECT_NE(adml.find("<string id=\"" + id + "\">"), std::string::npos) << id;
    }
    for (const std::string& id : Matches(admx, "\\$\\(presentation\\.(\\w+)\\)")) {
        EXPECT_NE(adml.find("<presentation id=\"" + id + "\">"), std::string::npos) << id;
    }
    for (const IntervalChoice& row : kIntervalTable) {
        EXPECT_NE(adml.find("\"LogInterval_" + std::to_string(row.seconds) + "\">" + std::string(row.caption) + "<"),
                  std::string::npos) << row.caption;
    }
}

TEST(PolicyTemplate, TheSubscriptionCollectsEveryEventOfTheRegisteredSource) {
    const std::string subscription = SourceFile("installer/policy/Ambervale-subscription.xml");
    const std::set<std::string> registered =
        Matches(SourceFile("installer/Ambervale.wxs"), "Services\\\\EventLog\\\\Application\\\\([^\"]+)\"");
    EXPECT_EQ(registered, std::set<std::string>{"Ambervale"});
    EXPECT_EQ(Matches(subscription, "Provider\\[@Name='([^']*)'\\]"), registered);
    const std::set<std::string> defined = Matches(SourceFile("eventlog/AmbervaleEvents.mc"), "MessageId=([0-9]+)");
    EXPECT_GE(defined.size(), 14u);
    EXPECT_EQ(Matches(subscription, "EventID=([0-9]+)"), defined);
    EXPECT_NE(subscription.find("<SubscriptionType>SourceInitiated<"), std::string::npos);
}

} // namespace
} // namespace ambervale
