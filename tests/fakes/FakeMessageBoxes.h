#pragma once
#include <deque>
#include <functional>
#include <vector>

#include "base/AppError.h"
#include "base/MessageBoxes.h"

namespace ambervale::testing {

// Records every box; answers from a queue (Ok / Yes by default). onShow runs while the box is
// "open", the way Windows dispatches messages under a modal box.
class FakeMessageBoxes : public MessageBoxes {
public:
    BoxAnswer Show(const BoxRequest& request) override {
        shown.push_back(request);
        if (failNext) {
            failNext = false;
            throw AppError("Cannot show the box");
        }
        if (onShow) onShow();
        if (!answers.empty()) {
            BoxAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return request.buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
    }

    std::vector<BoxRequest> shown;
    std::deque<BoxAnswer> answers;
    std::function<void()> onShow;
    bool failNext = false;
};

class FakeMessagePump : public MessagePump {
public:
    void DoEvents() override {
        ++calls;
        if (onDoEvents) onDoEvents();
    }
    int calls = 0;
    std::function<void()> onDoEvents;
};

} // namespace ambervale::testing
