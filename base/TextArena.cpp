#include "base/TextArena.h"

#include <cstring>

namespace ambervale {

std::string_view TextArena::Keep(std::string_view text) {
    if (text.empty()) return {};
    char* at = nullptr;
    if (text.size() > kBlockSize / 4) {
        // A long text gets a block of its own, so the block being filled keeps its free space.
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
        held_ += text.size();
        at = blocks_.back().get();
    } else {
        if (left_ < text.size()) {
                blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
            held_ += kBlockSize;
            free_ = blocks_.back().get();
            left_ = kBlockSize;
        }
        at = free_;
        free_ += text.size();
        left_ -= text.size();
    }
    std::memcpy(at, text.data(), text.size());
    return {at, text.size()};
}

void TextArena::Clear() {
    blocks_ = decltype(blocks_){};
    free_ = nullptr;
    left_ = 0;
    held_ = 0;
}

} // namespace ambervale
