// The administrative template against the program's own table of policy values: neither may name a value, a key or a
// type that the other lacks. Read from the source tree.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "base/Policy.h"
#include "logging/IntervalTable.h"

namespace ambervale {
namespace {

std::string ReadSourceFile(const std::string& relative) {
    std::ifstream file(std::string(AMBERVALE_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Attribute(const std::string& tag, const std::string& name) {
    std::smatch match;
    if (!std::regex_search(tag, match, std::regex("\\b" + name + "=\"([^\"]*)\""))) return "";
    return match[1];
}

std::set<std::string> AllMatches(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
        found.insert((*it)[1]);
    }
    return found;
}

TEST(PolicyTemplate, NamesExactlyTheProgramsValuesUnderItsKeyAsDwordsOfTheAllowedValues) {
    const std::string admx = ReadSourceFile("installer/policy/Ambervale.admx");
    const std::string adml = ReadSourceFile("installer/policy/en-US/Ambervale.adml");
    ASSERT_FALSE(admx.empty());
    ASSERT_FALSE(adml.empty());

    std::map<std::string, std::set<std::uint32_t>> templateValues;  // value name -> the DWORDs it writes
    const std::regex policy("<policy\\s([^>]*)>([\\s\\S]*?)</policy>");
    for (auto it = std::sregex_iterator(admx.begin(), admx.end(), policy); it != std::sregex_iterator(); ++it) {
        const std::string tag = (*it)[1], body = (*it)[2];
        EXPECT_EQ(Attribute(tag, "key"), kPolicyKeyPath) << tag;
        EXPECT_EQ(Attribute(tag, "class"), "Both") << "the machine's value before the user's: " << tag;
        EXPECT_FALSE(std::regex_search(body, std::regex("<(string|longDecimal|text|multiText|expandableText|list)\\b")))
            << "a value of another type than REG_DWORD: " << tag;
        std::set<std::string> names = AllMatches(body, "valueName=\"([^\"]*)\"");
        if (!Attribute(tag, "valueName").empty()) names.insert(Attribute(tag, "valueName"));
        ASSERT_EQ(names.size(), 1u) << tag;
        for (const std::string& value : AllMatches(body, "<decimal value=\"([0-9]+)\"")) {
            templateValues[*names.begin()].insert(static_cast<std::uint32_t>(std::stoul(value)));
        }
    }

    std::set<std::string> programNames;
    for (const PolicyRule* rule : kPolicyRules) {
        programNames.insert(std::string(rule->name));
        const auto found = templateValues.find(std::string(rule->name));
        ASSERT_NE(found, templateValues.end()) << "not in the template: " << rule->name;
        const std::set<std::uint32_t> allowed = rule->allowed.empty() ? std::set<std::uint32_t>{0, 1}
                                                                      : std::set<std::uint32_t>(rule->allowed.begin(),
                                                                                                rule->allowed.end());
        EXPECT_EQ(found->second, allowed) << rule->name;
    }
    for (const auto& [name, values] : templateValues) EXPECT_TRUE(programNames.count(name)) << "not read: " << name;

    // Every text the template refers to is in its language file, and each interval is named as the list names it.
    for (const std::string& id : AllMatches(admx, "\\$\\(string\\.([A-Za-z0-9_]+)\\)")) {
        EXPECT_NE(adml.find("<string id=\"" + id + "\">"), std::string::npos) << id;
    }
    for (const std::string& id : AllMatches(admx, "\\$\\(presentation\\.([A-Za-z0-9_]+)\\)")) {
        EXPECT_NE(adml.find("<presentation id=\"" + id + "\">"), std::string::npos) << id;
    }
    for (const IntervalChoice& row : kIntervalTable) {
        const std::string text = "<string id=\"LogInterval_" + std::to_string(row.seconds) + "\">" +
                                 std::string(row.caption) + "</string>";
        EXPECT_NE(adml.find(text), std::string::npos) << text;
    }
}

TEST(PolicyTemplate, TheSubscriptionCollectsEveryEventOfTheRegisteredSource) {
    const std::string subscription = ReadSourceFile("installer/policy/Ambervale-subscription.xml");
    const std::string messages = ReadSourceFile("eventlog/AmbervaleEvents.mc");
    const std::string wxs = ReadSourceFile("installer/Ambervale.wxs");
    std::smatch registered;
    ASSERT_TRUE(std::regex_search(wxs, registered, std::regex("Services\\\\EventLog\\\\Application\\\\([^\"]+)\"")));
    EXPECT_EQ(AllMatches(subscription, "Provider\\[@Name='([^']*)'\\]"), std::set<std::string>{registered[1]});
    EXPECT_EQ(std::string(registered[1]), "Ambervale");
    const std::set<std::string> defined = AllMatches(messages, "MessageId=([0-9]+)");
    EXPECT_FALSE(defined.empty());
    EXPECT_EQ(AllMatches(subscription, "EventID=([0-9]+)"), defined);
    EXPECT_NE(subscription.find("<SubscriptionType>SourceInitiated</SubscriptionType>"), std::string::npos);
}

} // namespace
} // namespace ambervale
