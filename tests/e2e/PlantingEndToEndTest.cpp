// Files planted beside the program, as in a Downloads folder: a library and a program named like Windows' own. The
// program must load and start Windows' own, by their place in the system folder, and never the planted ones.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mainwindow/Form1Layout.h"
#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "fakes/WinScratchFolder.h"

namespace ambervale::e2e {
namespace {

const char* const kPlantedFiles[] = {"winspool.drv", "notepad.exe"};

std::string PlantedBuildFile(const char* name) { return ModuleFolder() + "\\planted\\" + name; }

class Planting : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteAllSettings();
        ASSERT_TRUE(CopyFileA(AmbervaleExe().c_str(), folder_.File("Ambervale.exe").c_str(), FALSE)) << GetLastError();
        for (const char* name : kPlantedFiles) {
            ASSERT_TRUE(CopyFileA(PlantedBuildFile(name).c_str(), folder_.File(name).c_str(), FALSE)) << name;
        }
    }
    void TearDown() override { DeleteAllSettings(); }

    // What a planted file leaves when it runs.
    std::string Marker(const char* name) const { return folder_.File(name) + ".ran"; }

    testing::WinScratchFolder folder_;  // the program's folder, and its TEMP folder
};

TEST_F(Planting, TheSpoolerAndNotepadComeFromTheSystemFolderAndThePlantedFilesNeverRun) {
    SetSetting("OftenIndex", "1");  // every second
    SetSetting("StartStopState", "On");
    // Windows looks in the program's folder first for every library that is not one of its known ones; Wine does so
    // only when told to prefer native libraries, which the test command does for this test (the variable reaches a
    // started program from the Unix environment only, not from this process's).
    char overrides[1024] = {};
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    ASSERT_NE(std::string(overrides).find("winspool.drv=n,b"), std::string::npos) << overrides;
    AppProcess app(folder_.File("Ambervale.exe"), folder_.Path());
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);

    // An entry with the printer's name: the real spooler answered.
    const std::string history = folder_.File("Ambervale.txt");
    ASSERT_TRUE(WaitFor([&] { return !ReadLines(history).empty(); }, 30000));
    EXPECT_NE(ReadLines(history)[0].find("; Printer Name = Ambervale_Test; "), std::string::npos) << ReadLines(history)[0];

    const auto notepads = [] { return TopLevelWindows(0, [](HWND hwnd) { return ClassNameOf(hwnd) == "Notepad"; }); };
    const std::vector<HWND> before = notepads();
    PostMessageA(GetDlgItem(form, kPushButton1), BM_CLICK, 0, 0);
    HWND notepad = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] {
            for (HWND window : notepads()) {
                if (std::find(before.begin(), before.end(), window) == before.end()) notepad = window;
            }
            return notepad != nullptr;
        },
        20000))
        << "the system's notepad shows the history";
    if (notepad) {
        // It shows "Untitled" until it has read the file.
        EXPECT_TRUE(WaitFor([&] { return ControlText(notepad).rfind("Ambervale.txt", 0) == 0; }, 10000))
            << ControlText(notepad);
        PostMessageA(notepad, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(notepad); }, 10000));
    }
    EXPECT_TRUE(ErrorBoxes(app.Id()).empty());
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(8000));
    for (const char* name : kPlantedFiles) {
        EXPECT_EQ(GetFileAttributesA(Marker(name).c_str()), INVALID_FILE_ATTRIBUTES) << name << " was run";
    }
}

} // namespace
} // namespace ambervale::e2e
