#include "mainwindow/RowStore.h"

#include <gtest/gtest.h>

#include <string>

namespace ambervale {
namespace {

TEST(RowStore, KeepsRowsInOrderAcrossBlocks) {
    RowStore rows;
    // Rows of 1000 bytes fill several 1 MiB blocks; each must stay intact where the blocks meet.
    for (int i = 0; i < 3000; ++i) rows.Append(std::to_string(i) + std::string(1000 - std::to_string(i).size(), 'x'));
    ASSERT_EQ(rows.Size(), 3000u);
    for (std::size_t i : {0u, 1047u, 1048u, 2999u}) {
        EXPECT_EQ(rows.Row(i).substr(0, std::to_string(i).size()), std::to_string(i));
        EXPECT_EQ(rows.Row(i).size(), 1000u);
        EXPECT_EQ(std::string(rows.RowCString(i)), std::string(rows.Row(i)));
    }
}

TEST(RowStore, EarlierRowsStayPutWhenMoreAreAdded) {
    RowStore rows;
    rows.Append("first");
    const char* first = rows.RowCString(0);
    for (int i = 0; i < 20000; ++i) rows.Append(std::string(100, 'r'));
    EXPECT_EQ(rows.RowCString(0), first);
    EXPECT_STREQ(first, "first");
}

TEST(RowStore, HoldsEmptyAndOversizedRowsAndClears) {
    RowStore rows;
    rows.Append("");
    rows.Append(std::string(RowStore::kBlockSize + 10, 'b'));
    rows.Append("after");
    ASSERT_EQ(rows.Size(), 3u);
    EXPECT_EQ(rows.Row(0), "");
    EXPECT_EQ(rows.Row(1).size(), RowStore::kBlockSize + 10);
    EXPECT_EQ(rows.Row(2), "after");
    rows.Clear();
    EXPECT_EQ(rows.Size(), 0u);
    rows.Append("again");
    EXPECT_EQ(rows.Row(0), "again");
}

} // namespace
} // namespace ambervale
