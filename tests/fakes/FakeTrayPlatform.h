#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tray/cSysTray.h"
#include "tray/TrayPlatform.h"

namespace ambervale::testing {

// The tray control's platform services, recording into one shared journal so that tests can
// check the order of shell calls and window-procedure changes.
struct FakeTrayPlatform {
    struct ShellCall {
        NotifyIconMessage message;
        NotifyIconRecord record;
    };

    class Shell : public TrayShell {
    public:
        explicit Shell(FakeTrayPlatform& owner) : owner_(owner) {}
        bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) override {
            owner_.calls.push_back({message, record});
            static const char* const names[] = {"add", "modify", "delete"};
            owner_.journal.emplace_back(names[static_cast<int>(message)]);
            return owner_.shellAnswers;
        }

    private:
        FakeTrayPlatform& owner_;
    };

    class Procedure : public TrayWindowProcedure {
    public:
        explicit Procedure(FakeTrayPlatform& owner) : owner_(owner) {}
        void Install(WindowHandle window, cSysTray& control) override {
            owner_.journal.push_back("install " + std::to_string(window));
            owner_.installedControl = &control;
        }
        void Restore(WindowHandle window) override { owner_.journal.push_back("restore " + std::to_string(window)); }

    private:
        FakeTrayPlatform& owner_;
    };

    class Clock : public TrayClock {
    public:
        explicit Clock(FakeTrayPlatform& owner) : owner_(owner) {}
        std::int64_t NowMilliseconds() override { return owner_.now; }

    private:
        FakeTrayPlatform& owner_;
    };

    // Each turn lets onDispatch run (the messages "dispatched"), then lets time pass: the whole
    // wait, or stepMilliseconds of it when that is set.
    class Wait : public TrayMessageWait {
    public:
        explicit Wait(FakeTrayPlatform& owner) : owner_(owner) {}
        bool DispatchMessagesFor(std::int64_t maxWaitMilliseconds) override {
            owner_.waits.push_back(maxWaitMilliseconds);
            if (owner_.onDispatch) owner_.onDispatch();
            const std::int64_t step = owner_.stepMilliseconds;
            owner_.now += step > 0 && step < maxWaitMilliseconds ? step : maxWaitMilliseconds;
            return !owner_.quitting;
        }

    private:
        FakeTrayPlatform& owner_;
    };

    TrayServices Services() { return TrayServices{shell, procedure, clock, wait}; }

    std::vector<ShellCall> calls;
    std::vector<std::string> journal;
    cSysTray* installedControl = nullptr;
    std::vector<std::int64_t> waits;
    std::function<void()> onDispatch;
    std::int64_t now = 1'000'000;
    std::int64_t stepMilliseconds = 0;
    bool quitting = false;
    bool shellAnswers = true;

    Shell shell{*this};
    Procedure procedure{*this};
    Clock clock{*this};
    Wait wait{*this};
};

class FakeTrayPicture : public TrayPicture {
public:
    FakeTrayPicture(PictureKind kind, IconHandle handle) : kind_(kind), handle_(handle) {}
    PictureKind Kind() const override { return kind_; }
    IconHandle Handle() const override { return handle_; }

private:
    PictureKind kind_;
    IconHandle handle_;
};

// Records the control's mouse events as text, e.g. "up 2 0" for MouseUp(Button 2, Id 0).
class RecordingTrayEvents : public TrayEvents {
public:
    void MouseMove(std::int32_t id) override { Add("move", 0, id); }
    void MouseDown(std::int16_t button, std::int32_t id) override { Add("down", button, id); }
    void MouseUp(std::int16_t button, std::int32_t id) override { Add("up", button, id); }
    void MouseDblClick(std::int16_t button, std::int32_t id) override { Add("dblclick", button, id); }

    std::vector<std::string> events;

private:
    void Add(const char* name, int button, std::int32_t id) {
        events.push_back(std::string(name) + " " + std::to_string(button) + " " + std::to_string(id));
    }
};

} // namespace ambervale::testing
