#pragma once
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/Form1View.h"

namespace ambervale::testing {

// The main window's handlers, each call recorded by its name and nothing else done.
class RecordingForm1Events : public Form1Events {
public:
    void Form_Load() override { calls.push_back("Form_Load"); }
    void Form_QueryUnload() override {
        calls.push_back("Form_QueryUnload");
        if (onQueryUnload) onQueryUnload();
    }
    void Form_Resize() override { calls.push_back("Form_Resize"); }
    void Form_BackInMainLoop() override {}  // after every message of the main loop: not one of the window's events
    void Timer1_Timer() override { calls.push_back("Timer1_Timer"); }
    void PushButton1_Click() override { calls.push_back("PushButton1_Click"); }
    void PushButton2_Click() override { calls.push_back("PushButton2_Click"); }
    void PushButton5_Click() override { calls.push_back("PushButton5_Click"); }
    void PushButton6_Click() override { calls.push_back("PushButton6_Click"); }
    void PushButton11_Click() override { calls.push_back("PushButton11_Click"); }
    void PushButton12_Click() override { calls.push_back("PushButton12_Click"); }
    void ListView2_Click() override { calls.push_back("ListView2_Click"); }
    void Check4_Click() override { calls.push_back("Check4_Click"); }
    void Check8_Click() override { calls.push_back("Check8_Click"); }
    void Form_StartedAgain() override { calls.push_back("Form_StartedAgain"); }
    void PushButton_MouseMove() override { calls.push_back("PushButton_MouseMove"); }
    void Background_MouseMove() override { calls.push_back("Background_MouseMove"); }

    long Count(const std::string& handler) const { return std::count(calls.begin(), calls.end(), handler); }

    std::vector<std::string> calls;
    std::function<void()> onQueryUnload;
};

} // namespace ambervale::testing
