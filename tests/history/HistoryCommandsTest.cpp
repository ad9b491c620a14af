#include "history/HistoryCommands.h"

#include <gtest/gtest.h>

#include "base/ErrorReport.h"
#include "fakes/FakeHistoryServices.h"
#include "fakes/FakeMessageBoxes.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;

const std::string kHistory = "C:\\Documents and Settings\\Jo Smith\\Local Settings\\Temp\\Ambervale.txt";
const std::string kTwoEntries =
    "12/6/2026 8:15:04 PM Printer Status = Ready; \r\n12/6/2026 8:15:09 PM Printer Status = Paused  ; \r\n";

class HistoryCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { rows.rows = {"row one", "row two"}; }

    void View() { commands.PushButton1_Click(target); }
    void Copy() { commands.PushButton2_Click(target); }
    void Clear() { commands.PushButton12_Click(target); }

    FakeMessageBoxes boxes;
    FakeMessagePump pump;
    FakeHistoryFiles files;
    FakeProcessStarter processes;
    FakeCopyBuffer buffer{files};
    FakeLogListRows rows;
    HistoryCommands commands{HistoryServices{boxes, pump, files, processes, buffer, rows}};
    HistoryTarget target{kHistory, "Amber"};
};

TEST_F(HistoryCommandsTest, ViewWithoutHistorySaysSoAndStartsNothing) {
    View();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "There isn't a history to view because actions have not been performed yet.");
    EXPECT_EQ(boxes.shown[0].caption, "Amber");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::None);
    EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(processes.started.empty());
}

TEST_F(HistoryCommandsTest, ViewOpensTheQuotedPathInNotepad) {
    files.files[kHistory] = kTwoEntries;
    View();
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_EQ(processes.started[0].program, SystemProgram::TextEditor);
    EXPECT_EQ(processes.started[0].arguments,
              "\"C:\\Documents and Settings\\Jo Smith\\Local Settings\\Temp\\Ambervale.txt\"");
    EXPECT_EQ(processes.started[0].window, StartWindow::NormalFocus);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HistoryCommandsTest, ViewReportsAnEditorThatCannotStartAtStep102Only) {
    files.files[kHistory] = kTwoEntries;
    processes.fail = true;
    View();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Application Error");
    EXPECT_EQ(boxes.shown[0].text, ErrorBoxText("File not found", "PushButton1_Click", 102));
}

TEST_F(HistoryCommandsTest, CopyPutsTheWholeFileOnTheClipboardSilentlyAndOnlyIfThereIsOne) {
    Copy();
    EXPECT_EQ(buffer.clipboard, "what the user copied before");
    files.files[kHistory] = kTwoEntries;
    Copy();
    EXPECT_EQ(buffer.clipboard, kTwoEntries);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HistoryCommandsTest, CopyOfAFileThatCannotBeLoadedReportsStep102OnlyAndNeverCopiesTheOldText) {
    for (const char* failure : {"Permission denied", "Out of memory"}) {
        SCOPED_TRACE(failure);
        boxes.shown.clear();
        files.files[kHistory] = "old entry\r\n";
        buffer.loadFails = false;
        Copy();
        buffer.clipboard = "something else";
        buffer.loadFails = true;
        buffer.loadError = failure;
        Copy();
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, ErrorBoxText(failure, "PushButton2_Click", 102));
        EXPECT_EQ(buffer.clipboard, "something else");
    }
}

TEST_F(HistoryCommandsTest, CopyReportsAClipboardFailureAtStep108) {
    files.files[kHistory] = kTwoEntries;
    buffer.copyFails = true;
    Copy();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, ErrorBoxText("Can't open Clipboard", "PushButton2_Click", 108));
}

TEST_F(HistoryCommandsTest, ClearAsksFirstAndNoChangesNothing) {
    files.files[kHistory] = kTwoEntries;
    boxes.answers = {BoxAnswer::No};
    Clear();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Are you sure you want to delete the history log and start over?");
    EXPECT_EQ(boxes.shown[0].caption, "Amber");
    EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::None);
    EXPECT_EQ(files.files.at(kHistory), kTwoEntries);
    EXPECT_EQ(rows.rows.size(), 2u);
    EXPECT_TRUE(files.calls.empty());
    EXPECT_EQ(pump.calls, 0);
}

TEST_F(HistoryCommandsTest, ClearYesDeletesTheFileAndEmptiesTheList) {
    struct Case {
        const char* name;
        bool readOnly;
    };
    for (const Case& c : {Case{"writable", false}, Case{"read-only", true}}) {
        SCOPED_TRACE(c.name);
        files.files[kHistory] = kTwoEntries;
        if (c.readOnly) files.readOnly.insert(kHistory);
        rows.rows = {"row"};
        boxes.answers = {BoxAnswer::Yes};
        boxes.shown.clear();
        Clear();
        EXPECT_FALSE(files.FileExists(kHistory));
        EXPECT_TRUE(rows.rows.empty());
        EXPECT_EQ(boxes.shown.size(), 1u);  // the question only
    }
}

TEST_F(HistoryCommandsTest, ClearLetsWaitingMessagesRunBetweenTheAnswerAndTheDelete) {
    files.files[kHistory] = kTwoEntries;
    pump.onDoEvents = [&] {
        // A timer tick that logs right now writes to the file that is about to go.
        EXPECT_TRUE(files.calls.empty());
        files.files[kHistory] += "tick\r\n";
        rows.rows.push_back("tick");
    };
    Clear();
    EXPECT_EQ(pump.calls, 1);
    EXPECT_FALSE(files.FileExists(kHistory));
    EXPECT_TRUE(rows.rows.empty());
}

TEST_F(HistoryCommandsTest, ClearWithoutAFileOrWithUndeletableFileStillEmptiesTheListSilently) {
    Clear();
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_EQ(boxes.shown.size(), 1u);

    files.files[kHistory] = kTwoEntries;
    files.plainDeleteThrows = files.forcedDeleteThrows = true;
    rows.rows = {"row"};
    boxes.shown.clear();
    Clear();
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(files.FileExists(kHistory));
}

TEST_F(HistoryCommandsTest, ClearWhoseQuestionCannotBeShownDeletesNothing) {
    files.files[kHistory] = kTwoEntries;
    boxes.failNext = true;
    Clear();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, ErrorBoxText("Cannot show the box", "PushButton12_Click", 100));
    EXPECT_TRUE(files.FileExists(kHistory));
    EXPECT_TRUE(files.calls.empty());
    EXPECT_EQ(rows.rows.size(), 2u);
}

TEST(RemoveFile, TriesTheForcedDeleteOnlyAfterThePlainOneFailed) {
    FakeMessagePump pump;
    FakeHistoryFiles files;
    files.files["a.txt"] = "x";
    RemoveFile("a.txt", pump, files);
    EXPECT_EQ(files.calls, (std::vector<std::string>{"DeletePlain a.txt"}));

    files.calls.clear();
    files.files["b.txt"] = "x";
    files.plainDeleteThrows = true;
    RemoveFile("b.txt", pump, files);
    EXPECT_EQ(files.calls, (std::vector<std::string>{"DeletePlain b.txt", "DeleteForced b.txt"}));
    EXPECT_FALSE(files.FileExists("b.txt"));
    EXPECT_EQ(pump.calls, 2);
}

} // namespace
} // namespace ambervale
