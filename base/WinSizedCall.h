#pragma once
#include <cstddef>
#include <optional>
#include <vector>

namespace ambervale::win {

// Many Windows calls are made twice: once to learn how much room their answer needs, once to fill a buffer of that
// size. Between the two the answer may grow (a registry value rewritten, the default printer changed), so the pair
// is tried a few times before giving up.
//
// fill(buffer, size) is given a buffer of size elements (null with size 0 when firstSize is 0) and returns how many
// elements its answer needs: at most size when it has filled the buffer with that many, more than size when it needs
// a larger buffer, or nullopt when the call failed. The answer's elements come back; nullopt on failure or when the
// answer keeps outgrowing its buffer.
template <class T, class Fill>
std::optional<std::vector<T>> AskSizeThenFill(Fill fill, std::size_t firstSize = 0, int attempts = 4) {
    std::vector<T> buffer(firstSize);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const std::optional<std::size_t> needed = fill(buffer.empty() ? nullptr : buffer.data(), buffer.size());
        if (!needed) return std::nullopt;
        if (*needed <= buffer.size()) {
            buffer.resize(*needed);
            return buffer;
        }
        buffer.assign(*needed, T{});
    }
    return std::nullopt;
}

} // namespace ambervale::win
