#include "mainwindow/RowStore.h"

#include <algorithm>
#include <cstring>

namespace ambervale {

char* RowStore::Reserve(std::size_t bytes) {
    if (blocks_.empty() || lastBlockSize_ - usedInLastBlock_ < bytes) {
        lastBlockSize_ = std::max(kBlockSize, bytes);
        blocks_.push_back(std::make_unique<char[]>(lastBlockSize_));
        usedInLastBlock_ = 0;
    }
    char* at = blocks_.back().get() + usedInLastBlock_;
    usedInLastBlock_ += bytes;
    return at;
}

void RowStore::Append(std::string_view text) {
    char* at = Reserve(text.size() + 1);
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    index_.push_back({at, text.size()});
}

void RowStore::Clear() {
    index_.clear();
    blocks_.clear();
    usedInLastBlock_ = 0;
    lastBlockSize_ = 0;
}

} // namespace ambervale
