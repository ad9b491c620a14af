// "History at a Glance..." from the real program's system menu: the page is written beside the history file while the
// window goes on, handed to the browser, and the caption is the product's again; a close while it is made stops it,
// and leaves the last good page and CSV file as they were.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "mainwindow/WinForm1.h"

namespace ambervale::e2e {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(GlanceEndToEnd, TheSystemMenuWritesThePageBesideTheHistoryAndOpensIt) {
    const std::string temp = FreshTempFolder("glance-menu");
    const std::string report = temp + "\\Ambervale at a glance.html";
    DeleteFileA(report.c_str());
    {
        std::ofstream history(temp + "\\Ambervale.txt", std::ios::binary);
        const char* tail = "; Printer Name = Front Desk; Printer Driver Name = D; Printer Port Name = P; \r\n";
        history << "12/6/2026 8:15:00 PM Printer Status = " << tail << "12/6/2026 8:15:10 PM Printer Status = Off Line  "
                << tail << "12/6/2026 8:15:20 PM Printer Status = " << tail;
    }
    // The user's browser, for this test: a command that tells which page it was given.
    const std::string opened = temp + "\\opened.txt";
    DeleteFileA(opened.c_str());
    const std::string command = "cmd.exe /c echo %1> \"" + opened + "\"";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, ".html", nullptr, REG_SZ, "AmbervaleGlanceTest", 20),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, "AmbervaleGlanceTest\\shell\\open\\command", nullptr,
                              REG_SZ, command.c_str(), static_cast<DWORD>(command.size() + 1)),
              ERROR_SUCCESS);

    AppProcess app(AmbervaleExe(), temp);
    const HWND window = app.WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_SYSCOMMAND, win::kGlanceMenuCommand, 0);
    ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(report.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000));
    const std::string page = FileText(report);
    EXPECT_NE(page.find("data-printer=\"Front Desk\" data-status=\"Off Line\" data-start=\"2026-12-06T20:15:10\" "
                        "data-end=\"2026-12-06T20:15:20\""),
              std::string::npos);
    EXPECT_TRUE(WaitFor(
        [&] {
            char caption[64] = {};
            GetWindowTextA(window, caption, sizeof caption);
            return std::string(caption) == "Ambervale";
        },
        10000));
    // Opened, not refused: no box tells of a failure.
    EXPECT_TRUE(WaitFor([&] { return FileText(opened).find("Ambervale at a glance.html") != std::string::npos; }, 20000))
        << FileText(opened);
    const HWND box = LastOf(ErrorBoxes(app.Id(), "Ambervale"));
    char text[512] = {};
    if (box) GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the text of a message box
    EXPECT_EQ(box, nullptr) << text;
    DeleteFileA(report.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "AmbervaleGlanceTest");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
}

TEST(GlanceEndToEnd, ClosingTheWindowStopsAPageUnderWayAndLeavesTheLastGoodOne) {
    const std::string temp = FreshTempFolder("glance-close");
    const std::string report = temp + "\\Ambervale at a glance.html";
    const std::string csv = temp + "\\Ambervale at a glance.csv";
    std::ofstream(report, std::ios::binary) << "<p>the last good page</p>";
    std::ofstream(csv, std::ios::binary) << "the last good spells";
    {
        // Twenty days of an entry a second: long enough to be read that the close comes while it is.
        std::ofstream history(temp + "\\Ambervale.txt", std::ios::binary);
        std::string day;
        for (int s = 1; s < 86400; ++s) {
            char line[160];
            std::snprintf(line, sizeof line, " %d:%02d:%02d %s Printer Status = ; Printer Name = Front Desk; Printer "
                          "Driver Name = D; Printer Port Name = P; \r\n", (s / 3600) % 12 == 0 ? 12 : (s / 3600) % 12,
                          s / 60 % 60, s % 60, s < 43200 ? "AM" : "PM");
            day += "11/DD/2026";
            day += line;
        }
        for (int d = 1; d <= 20; ++d) {
            std::string text = day;
            const std::string date = (d < 10 ? "0" : "") + std::to_string(d);
            for (auto at = text.find("DD"); at != std::string::npos; at = text.find("DD", at + 2)) text.replace(at, 2, date);
            history << text;
        }
    }
    AppProcess app(AmbervaleExe(), temp);
    const HWND window = app.WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_SYSCOMMAND, win::kGlanceMenuCommand, 0);
    std::string caption;
    ASSERT_TRUE(WaitFor(
        [&] {
            char text[128] = {};
            GetWindowTextA(window, text, sizeof text);
            caption = text;
            return caption.find("History at a Glance") != std::string::npos;
        },
        20000));
    const auto closed = std::chrono::steady_clock::now();
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(60000));
    // Figures for the notes, never a condition of the test.
    std::cout << "Closed at \"" << caption << "\"; the program ended "
              << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - closed).count()
              << " ms after the close was posted\n";
    EXPECT_EQ(FileText(report), "<p>the last good page</p>");
    EXPECT_EQ(FileText(csv), "the last good spells");
    // Nor any part of the page or the CSV file under its temporary name.
    WIN32_FIND_DATAA found;
    EXPECT_EQ(FindFirstFileA((temp + "\\amb*.tmp").c_str(), &found), INVALID_HANDLE_VALUE);
}

} // namespace
} // namespace ambervale::e2e
