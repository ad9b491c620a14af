#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "fakes/WinTestPrinter.h"
#include "mainwindow/Form1Layout.h"

namespace ambervale::e2e {

inline bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The real program with an entry every second and logging on, started with a TEMP folder of its own.
class LoggingEverySecond : public ::testing::Test {
protected:
    static constexpr DWORD kBound = 30000;  // only so a hang cannot stop the run

    void SetUp() override {
        DeleteAllSettings();
        // A run killed half-way may have left the queue offline: the setting outlives the process.
        ambervale::testing::SetDefaultPrinterWorkOffline(false);
        SetSetting("OftenIndex", "1");
        SetSetting("StartStopState", "On");
    }
    void TearDown() override {
        app_.reset();
        DeleteAllSettings();
    }

    // Starts the program, with a history file of that text when there is one, and finds its log list.
    void Start(const char* name, const std::string& earlierHistory = "") {
        const std::string temp = FreshTempFolder(name);
        history_ = temp + "\\Ambervale.txt";
        if (!earlierHistory.empty()) std::ofstream(history_, std::ios::binary) << earlierHistory;
        app_ = std::make_unique<AppProcess>(AmbervaleExe(), temp);
        form_ = app_->WaitForMainWindow(kBound);
        ASSERT_NE(form_, nullptr);
        list_ = GetDlgItem(form_, kListView1);
    }
    void Close() {
        PostMessageA(form_, WM_CLOSE, 0, 0);
        ASSERT_TRUE(app_->WaitForExit(kBound));
        EXPECT_EQ(app_->ExitCode(), 0u);
    }

    int RowCount() const { return ListViewCount(list_); }
    // The rows of the running program's log list.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int row = 0, count = RowCount(); row < count; ++row) {
            rows.push_back(RemoteListViewText(app_->Process(), list_, row));
        }
        return rows;
    }
    std::string LastRow() const { return RemoteListViewText(app_->Process(), list_, RowCount() - 1); }
    std::vector<std::string> Lines() const { return ReadLines(history_); }

    std::string history_;
    std::unique_ptr<AppProcess> app_;
    HWND form_ = nullptr;
    HWND list_ = nullptr;
};

} // namespace ambervale::e2e
