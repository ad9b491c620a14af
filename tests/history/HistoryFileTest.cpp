#include "history/HistoryFile.h"

#include <gtest/gtest.h>

#include "fakes/FakeLogEntryServices.h"

namespace ambervale {
namespace {

const std::string kPath = "C:\\Temp\\Ambervale.txt";

TEST(AppendToHistory, WritesTheLineAndCrLfInOneAppend) {
    testing::FakeHistoryWriter writer;
    writer.files[kPath] = "from an earlier run\r\n";
    AppendToHistory(writer, kPath, "line");
    EXPECT_EQ(writer.appends, 1);
    EXPECT_EQ(writer.files[kPath], "from an earlier run\r\nline\r\n");
}

} // namespace
} // namespace ambervale
