#pragma once
#include <atomic>

namespace ambervale {

// Asks for reads one after another from a client that may complete a read inside the call that asked for it, as
// WinHTTP does while data is already buffered. The caller that finds no read under way issues them, in a loop, for
// as long as completions ask for more; a completion that comes inside that loop, or on another thread meanwhile, only
// says so. The stack stays one read deep however small the pieces come.
class ReadPump {
public:
    // Called by whoever wants the next read (the headers' arrival, each completed read); read issues one.
    template <class Read>
    void More(Read read) {
        if (wanted_.fetch_add(1) > 0) return;
        do {
            read();
        } while (wanted_.fetch_sub(1) > 1);
    }

private:
    std::atomic<int> wanted_{0};
};

} // namespace ambervale
