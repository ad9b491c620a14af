#include <windows.h>

#include <gtest/gtest.h>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinProcess.h"
#include "fakes/FakeHistoryServices.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/WinScratchFolder.h"
#include "history/HistoryCommands.h"
#include "history/WinFiles.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;

const char kEntries[] = "12/6/2026 8:15:04 PM Printer Status = Ready; \r\n";

bool IsReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The volume and the index of a file: two paths of one file give the same.
std::pair<DWORD, ULONGLONG> FileIdentity(const std::string& path) {
    const win::UniqueFile file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info)) return {0, 0};
    return {info.dwVolumeSerialNumber, (ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

class WinHistoryFilesTest : public ::testing::Test {
protected:
    HistoryCommands Commands() {
        return HistoryCommands(HistoryServices{boxes, pump, files, processes, buffer, rows});
    }

    WinScratchFolder folder;
    FakeMessageBoxes boxes;
    FakeMessagePump pump;
    WinFiles files;
    FakeProcessStarter processes;
    FakeHistoryFiles unusedSource;
    FakeCopyBuffer buffer{unusedSource};
    FakeLogListRows rows;
};

TEST_F(WinHistoryFilesTest, FileExistsForFilesAndFoldersOnly) {
    const std::string file = folder.Write("Ambervale.txt", kEntries);
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder.File("missing.txt")));
    EXPECT_FALSE(FileExists(folder.File("*.txt")));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(WinHistoryFilesTest, ViewStartsNotepadWithTheQuotedPath) {
    const std::string file = folder.Write("Ambervale.txt", kEntries);
    ASSERT_NE(file.find(' '), std::string::npos);
    Commands().PushButton1_Click(HistoryTarget{file, "Amber"});
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_EQ(processes.started[0].program, SystemProgram::TextEditor);
    EXPECT_EQ(processes.started[0].arguments, "\"" + file + "\"");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(WinHistoryFilesTest, StartsTheSystemFoldersNotepadWithoutWaitingForIt) {
    const std::string file = folder.Write("Ambervale.txt", kEntries);
    WinProcessStarter starter;
    starter.Start(SystemProgram::TextEditor, "\"" + file + "\"", StartWindow::NormalFocus);
    ASSERT_NE(starter.LastProcessId(), 0u);

    HANDLE notepad = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                 starter.LastProcessId());
    ASSERT_NE(notepad, nullptr);
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeProcess(notepad, &exitCode));
    EXPECT_EQ(exitCode, STILL_ACTIVE);
    char image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    EXPECT_TRUE(QueryFullProcessImageNameA(notepad, 0, image, &size));
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    // The same file, whatever the path says: a 32-bit program's system folder is SysWOW64 on 64-bit Windows.
    EXPECT_EQ(FileIdentity(image), FileIdentity(std::string(system) + "\\notepad.exe")) << image;
    // An editor ended while it is still starting can be left half alive, holding this run's output open:
    // let it come up first, then end it and see it gone.
    WaitForInputIdle(notepad, 15000);
    TerminateProcess(notepad, 0);
    EXPECT_EQ(WaitForSingleObject(notepad, 15000), WAIT_OBJECT_0);
    CloseHandle(notepad);
}

TEST_F(WinHistoryFilesTest, AProgramThatCannotStartIsAnError) {
    for (const WinProcessStarter::Locate locate :
         {+[](SystemProgram) { return std::string("C:\\ambervale-no-such-folder\\notepad.exe"); },
          +[](SystemProgram) { return std::string(); }}) {
        WinProcessStarter starter(locate);
        EXPECT_THROW(starter.Start(SystemProgram::TextEditor, "\"x.txt\"", StartWindow::NormalFocus), AppError);
        EXPECT_EQ(starter.LastProcessId(), 0u);
    }
}

TEST_F(WinHistoryFilesTest, ClearAnsweredNoChangesNothing) {
    const std::string file = folder.Write("Ambervale.txt", kEntries);
    rows.rows = {"row"};
    boxes.answers = {BoxAnswer::No};
    Commands().PushButton12_Click(HistoryTarget{file, "Amber"});
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(rows.rows.size(), 1u);
}

TEST_F(WinHistoryFilesTest, ClearDeletesAReadOnlyHistoryAndViewThenSaysThereIsNone) {
    const std::string file = folder.Write("Ambervale.txt", kEntries);
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_FALSE(DeleteFileA(file.c_str()));
    rows.rows = {"row one", "row two"};

    HistoryCommands commands = Commands();
    commands.PushButton12_Click(HistoryTarget{file, "Amber"});
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(rows.rows.empty());
    ASSERT_EQ(boxes.shown.size(), 1u);

    commands.PushButton1_Click(HistoryTarget{file, "Amber"});
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "There isn't a history to view because actions have not been performed yet.");
    EXPECT_TRUE(processes.started.empty());
}

TEST_F(WinHistoryFilesTest, AForcedDeleteThatFailsLeavesTheFileReadOnly) {
    const std::string file = folder.Write("Ambervale.txt", kEntries);
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    // Another program holds the file open and does not share deletion.
    HANDLE reader = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    RemoveFile(file, pump, files);
    const bool stillThere = FileExists(file);
    const bool stillReadOnly = IsReadOnly(file);
    CloseHandle(reader);
    EXPECT_TRUE(stillThere);
    EXPECT_TRUE(stillReadOnly);
}

} // namespace
} // namespace ambervale
