#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "logging/ScheduleControls.h"
#include "logging/StatusLogger.h"
#include "base/AppError.h"

namespace ambervale::testing {

// ListView2 as a list of rows with at most one selected. Like the real list it raises
// onSelectionChanged when the user changes the selection, and not when code selects a row.
class FakeIntervalList : public IntervalList {
public:
    void AddColumn(std::string_view header) override { columns.emplace_back(header); }
    void SetColumnWidth(int twips) override { columnWidth = twips; }
    void AddRow(std::string_view text) override {
        if (++addRowCalls == failAddRowAt) throw AppError("Cannot add the row");
        rows.emplace_back(text);
    }
    void SelectRow(int position) override {
        if (position < 1 || position > static_cast<int>(rows.size())) {
            throw AppError(std::string(kErrInvalidPropertyValue));
        }
        selected = position;
    }
    bool SelectedRow(std::string& text, int& position) override {
        if (!selected) return false;
        text.assign(rows[static_cast<std::size_t>(*selected - 1)]);
        position = *selected;
        return true;
    }

    // What the user's click or arrow key does.
    void UserSelects(std::optional<int> position) {
        if (selected == position) return;
        selected = position;
        if (onSelectionChanged) onSelectionChanged();
    }

    std::vector<std::string> columns;
    int columnWidth = 0;
    std::vector<std::string> rows;
    std::optional<int> selected;
    std::function<void()> onSelectionChanged;
    int failAddRowAt = 0; // the 1-based AddRow call that fails; 0 for none

private:
    int addRowCalls = 0;
};

class FakeCaptionControl : public CaptionControl {
public:
    explicit FakeCaptionControl(std::string designCaption) : caption(std::move(designCaption)) {}
    std::string Caption() override { return caption; }
    void SetCaption(std::string_view text) override { caption.assign(text); }
    std::string caption;
};

class FakeProgressBar : public ProgressBarControl {
public:
    void SetMaximum(int value) override { maximum = value; }
    void SetPosition(int value) override { position = value; }
    void SetText(std::string_view value) override { text.assign(value); }
    int maximum = 100;
    int position = 0;
    std::string text = "Progress Bar";
};

class FakeMousePointer : public MousePointerControl {
public:
    PointerKind Pointer() override { return pointer; }
    void SetPointer(PointerKind kind) override {
        pointer = kind;
        history.push_back(kind);
    }
    PointerKind pointer = PointerKind::Default;
    std::vector<PointerKind> history;
};

// Timer1 as created: enabled, period 0. Ticks are delivered by the test: see Running().
class FakeTimer : public TimerControl {
public:
    int Period() override { return period; }
    void SetPeriod(int milliseconds) override { period = milliseconds; }
    bool Enabled() override { return enabled; }
    void SetEnabled(bool value) override { enabled = value; }
    bool Running() const { return enabled && period > 0; }
    int period = 0;
    bool enabled = true;
};

class FakeStatusLogger : public StatusLogger {
public:
    EntryOutcome LogStatusNow() override {
        ++entries;
        pending = true;
        if (onLog) onLog();
        pending = false;
        if (!failWith.empty()) throw AppError(failWith);
        return outcome;
    }
    bool EntryPending() const override { return pending; }
    void LoggingSwitched(bool on, std::string_view intervalCaption) noexcept override {
        switches.push_back((on ? "on: " : "off: ") + std::string(intervalCaption));
    }
    long entries = 0;
    std::vector<std::string> switches;  // "on: <caption>" or "off: <caption>", in order
    std::function<void()> onLog;  // runs while the entry is pending, as the window's messages do
    std::string failWith; // description of the failure to throw; empty for success
    EntryOutcome outcome = EntryOutcome::Made;
    bool pending = false;
};

} // namespace ambervale::testing
