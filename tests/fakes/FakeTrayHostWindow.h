#pragma once
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AppError.h"

#include "tray/MinimiseToTray.h"

namespace ambervale::testing {

// The main window as the tray behaviour sees it. Setting a check box's value from code runs its
// click handler (when given) if the value changes, as the real check boxes do.
class FakeTrayHostWindow : public TrayHostWindow {
public:
    WindowState State() override { return state; }
    void SetState(WindowState value) override {
        MaybeFail("state");
        state = value;
        log.push_back(value == WindowState::Minimized ? "minimise" : value == WindowState::Normal ? "normal" : "maximise");
    }
    void Hide() override {
        visible = false;
        log.push_back("hide");
    }
    void Show() override {
        visible = true;
        log.push_back("show");
    }
    void SetFocus() override { log.push_back("focus"); }
    void SetProgramIcon() override {
        MaybeFail("program icon");
        log.push_back("program icon");
    }
    int Check4Value() override {
        MaybeFail("check4");
        return check4;
    }
    void SetCheck4Value(int value) override {
        MaybeFail("check4");
        SetCheck(check4, value, onCheck4Click);
    }
    int Check8Value() override {
        MaybeFail("check8");
        return check8;
    }
    void SetCheck8Value(int value) override {
        MaybeFail("check8");
        SetCheck(check8, value, onCheck8Click);
    }
    void SetCheck8Visible(bool value) override {
        MaybeFail("check8 visible");
        check8Visible = value;
    }

    WindowState state = WindowState::Normal;
    bool visible = true;
    int check4 = 0;
    int check8 = 0;
    bool check8Visible = true;
    std::vector<std::string> log;
    std::function<void()> onCheck4Click;
    std::function<void()> onCheck8Click;
    std::vector<std::string> failing;

private:
    void MaybeFail(std::string_view operation) const {
        if (std::find(failing.begin(), failing.end(), operation) != failing.end()) {
            throw AppError("Window operation failed");
        }
    }

    static void SetCheck(int& box, int value, const std::function<void()>& onClick) {
        if (box == value) return;
        box = value;
        if (onClick) onClick();
    }
};

} // namespace ambervale::testing
