#pragma once
#include <cstddef>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace ambervale {

// The log list's rows, packed into large blocks. Appending costs the same at the millionth row as at the first:
// nothing already stored is ever moved or copied again, and each row costs its text, a NUL and one index entry.
class RowStore {
public:
    static constexpr std::size_t kBlockSize = 1 << 20;

    void Append(std::string_view text);
    void Clear();
    std::size_t Size() const { return index_.size(); }
    // The row's text; its NUL-terminated copy stays valid until Clear.
    std::string_view Row(std::size_t i) const { return {index_[i].text, index_[i].length}; }
    const char* RowCString(std::size_t i) const { return index_[i].text; }

private:
    struct Entry {
        const char* text;
        std::size_t length;
    };
    char* Reserve(std::size_t bytes);

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t usedInLastBlock_ = 0;
    std::size_t lastBlockSize_ = 0;
    std::deque<Entry> index_;
};

} // namespace ambervale
