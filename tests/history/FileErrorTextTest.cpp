#include "history/FileErrorText.h"

#include <gtest/gtest.h>

namespace ambervale {
namespace {

TEST(FileErrorDescription, NamesTheCommonFileFailures) {
    EXPECT_EQ(FileErrorDescription(3), "Path not found");
    EXPECT_EQ(FileErrorDescription(5), "Permission denied");
    EXPECT_EQ(FileErrorDescription(32), "Permission denied");
    EXPECT_EQ(FileErrorDescription(112), "Disk full");
    EXPECT_EQ(FileErrorDescription(123), "Bad file name or number");
    EXPECT_EQ(FileErrorDescription(2), "File not found");
    EXPECT_EQ(FileErrorDescription(1117), "Path/File access error (Windows error 1117)");
}

} // namespace
} // namespace ambervale
