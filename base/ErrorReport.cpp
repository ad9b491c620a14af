#include "base/ErrorReport.h"

#include <new>

#include "base/Globals.h"

namespace ambervale {

std::string ErrorBoxText(std::string_view description, std::string_view location, int step) {
    std::string text;
    text.append(description);
    text.append("\r\nin Lumenquay2021/08/31.Form1.");
    text.append(location);
    text.append(" at line ");
    text.append(std::to_string(step));
    text.append("\r\rPlease email screenshot of this message to ");
    text.append(kSupportEmail);
    return text;
}

void ShowErrorBox(MessageBoxes& boxes, std::string_view description, std::string_view location, int step) {
    BoxRequest box{ErrorBoxText(description, location, step), std::string(kErrorBoxCaption),
                   BoxIcon::Exclamation, BoxButtons::Ok};
    try {
        boxes.Show(box);
    } catch (...) {
        // The report itself failed; the handler still goes on with its next step.
    }
}

std::string CurrentErrorDescription() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

void GuardedSteps::Report(int step) {
    ShowErrorBox(boxes_, CurrentErrorDescription(), location_, step);
}

} // namespace ambervale
