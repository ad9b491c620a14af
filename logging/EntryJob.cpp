#include "logging/EntryJob.h"

namespace ambervale {

void EntryJob::Run() noexcept {
    try {
        work_();
    } catch (...) {
        failure_ = std::current_exception();
    }
    work_ = nullptr;
    finished_ = true;
}

} // namespace ambervale
