#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace ambervale {

// Keeps copies of texts packed in large blocks, each at a place that never moves until Clear.
class TextArena {
public:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    // Throws std::bad_alloc when a new block cannot be had; the arena is then as it was.
    std::string_view Keep(std::string_view text);
    // Gives all the memory back.
    void Clear();
    std::size_t BytesHeld() const { return held_ + blocks_.capacity() * sizeof(blocks_[0]); }

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;  // the unused end of the block that is being filled
    std::size_t left_ = 0;
    std::size_t held_ = 0;
};

} // namespace ambervale
