#include "installer/RunValueCleanup.h"

#include <gtest/gtest.h>

#include <map>

namespace ambervale {
namespace {

constexpr char kInstalledExe[] = "C:\\Program Files (x86)\\Ambervale\\Ambervale.exe";

TEST(RunValueStartsProgram, OnlyThePathItselfQuotedOrBareInAnyLetterCase) {
    struct Case {
        const char* data;
        bool startsProgram;
    };
    const Case cases[] = {
        {"\"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe\"", true},  // as the program writes it
        {"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe", true},      // as older builds wrote it
        {"\"c:\\PROGRAM FILES (X86)\\ambervale\\AMBERVALE.EXE\"", true},
        {"\"D:\\Tools\\Ambervale.exe\"", false},  // a portable copy elsewhere
        {"\"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe\" /min", false},
        {"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe.old", false},
        {"C:\\Program Files (x86)\\Ambervale", false},
        {"\"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe", false},  // a quote that is never closed
        {"\"\"", false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunValueStartsProgram(c.data, kInstalledExe), c.startsProgram) << c.data;
    }
    EXPECT_FALSE(RunValueStartsProgram("", "")) << "no installed path names nothing";
}

class FakeRunKey : public RunKey {
public:
    std::optional<std::string> ReadText(const std::string& valueName) override {
        const auto it = texts.find(valueName);
        if (it == texts.end()) return std::nullopt;
        return it->second;
    }
    bool DeleteValue(const std::string& valueName) override {
        if (refusesChanges) return false;
        return texts.erase(valueName) == 1;
    }
    std::map<std::string, std::string> texts;  // string values only: others read as nothing
    bool refusesChanges = false;
};

TEST(RemoveOwnRunValue, DeletesTheValueNamedAfterTheExeWhenItStartsTheInstalledProgram) {
    FakeRunKey key;
    key.texts["Ambervale.exe"] = std::string("\"") + kInstalledExe + "\"";
    key.texts["Other.exe"] = std::string("\"") + kInstalledExe + "\"";  // not the program's own value

    EXPECT_TRUE(RemoveOwnRunValue(key, kInstalledExe));
    EXPECT_EQ(key.texts.count("Ambervale.exe"), 0u);
    EXPECT_EQ(key.texts.count("Other.exe"), 1u);
}

TEST(RemoveOwnRunValue, KeepsWhatDoesNotStartTheInstalledProgram) {
    FakeRunKey copyElsewhere;
    copyElsewhere.texts["Ambervale.exe"] = "\"D:\\Tools\\Ambervale.exe\"";
    EXPECT_FALSE(RemoveOwnRunValue(copyElsewhere, kInstalledExe));
    EXPECT_EQ(copyElsewhere.texts.size(), 1u);

    FakeRunKey empty;
    EXPECT_FALSE(RemoveOwnRunValue(empty, kInstalledExe));

    FakeRunKey bareName;
    bareName.texts["Ambervale.exe"] = "Ambervale.exe";
    EXPECT_FALSE(RemoveOwnRunValue(bareName, "Ambervale.exe")) << "a path without a folder is no installed program";
    EXPECT_EQ(bareName.texts.size(), 1u);
}

TEST(RemoveOwnRunValue, AKeyThatRefusesTheDeleteIsReportedAsNotRemoved) {
    FakeRunKey key;
    key.texts["Ambervale.exe"] = kInstalledExe;
    key.refusesChanges = true;
    EXPECT_FALSE(RemoveOwnRunValue(key, kInstalledExe));
    EXPECT_EQ(key.texts.size(), 1u);
}

} // namespace
} // namespace ambervale
