#include "history/HistoryPath.h"

#include <gtest/gtest.h>

#include <string>

namespace ambervale {
namespace {

struct SuffixCase {
    const char* name;
    const char* word;
    const char* result;
};

class RemoveSuffixWordCases : public ::testing::TestWithParam<SuffixCase> {};

TEST_P(RemoveSuffixWordCases, GivesTheExpectedName) {
    EXPECT_EQ(RemoveSuffixWord(GetParam().name, GetParam().word), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RemoveSuffixWordCases,
    ::testing::Values(SuffixCase{"Ambervale", "Software", "Ambervale"},
                      SuffixCase{"Printer Logger Software", "Software", "Printer Logger"},
                      SuffixCase{" Printer  Software", "Software", "Printer"},
                      SuffixCase{"Printer software", "Software", "Printer software"},
                      SuffixCase{"Printer Softwares", "Software", "Printer Softwares"},
                      SuffixCase{"Printer Software ", "Software", "Printer Software "},
                      SuffixCase{"A Software Software", "Software", "A Software"},
                      SuffixCase{"Printer Tools", "", "Printer"},
                      SuffixCase{"Printer", "", "Printer"},
                      SuffixCase{"", "Software", ""}));

TEST(StripFileNameChars, RemovesEachOfTheTwentyFiveCharacters) {
    EXPECT_EQ(StripFileNameChars("a$b/c\\d*e:f?g<h>i|j#k'l m.n,o\"p(q)r-s+t=u%v;w{x}y\tz"),
              "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(StripFileNameChars("$/\\*:?<>|#' .,\"()-+=%;{}\t"), "");
}

TEST(StripFileNameChars, KeepsEverythingElse) {
    EXPECT_EQ(StripFileNameChars("Amber_vale!&[1]~@^`\xE9"), "Amber_vale!&[1]~@^`\xE9");
}

TEST(ComposeHistoryFilePath, JoinsTempAndTheProductName) {
    EXPECT_EQ(ComposeHistoryFilePath("C:\\Users\\Ann\\AppData\\Local\\Temp"),
              "C:\\Users\\Ann\\AppData\\Local\\Temp\\Ambervale.txt");
    EXPECT_EQ(ComposeHistoryFilePath("C:\\Temp\\"), "C:\\Temp\\\\Ambervale.txt");
    EXPECT_EQ(ComposeHistoryFilePath(std::nullopt), "\\Ambervale.txt");
    EXPECT_EQ(ComposeHistoryFilePath(""), "\\Ambervale.txt");
}

} // namespace
} // namespace ambervale
