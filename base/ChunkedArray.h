#pragma once
#include <cstddef>
#include <memory>
#include <vector>

namespace ambervale {

// An array that only grows at its end, in chunks of a fixed size. Nothing stored is ever moved, so growing never
// needs twice the memory for a moment, as a vector's doubling would, and costs the same at every size.
template <class T, std::size_t kPerChunk>
class ChunkedArray {
public:
    // Throws std::bad_alloc when a new chunk cannot be had; the array is then as it was.
    void PushBack(const T& value) {
        if (size_ == chunks_.size() * kPerChunk) {
            auto chunk = std::make_unique_for_overwrite<T[]>(kPerChunk);
            chunks_.push_back(std::move(chunk));
        }
        chunks_[size_ / kPerChunk][size_ % kPerChunk] = value;
        ++size_;
    }
    const T& operator[](std::size_t i) const { return chunks_[i / kPerChunk][i % kPerChunk]; }
    std::size_t Size() const { return size_; }
    // Gives all the memory back.
    void Clear() {
        chunks_ = decltype(chunks_){};
        size_ = 0;
    }
    std::size_t BytesHeld() const {
        return chunks_.size() * kPerChunk * sizeof(T) + chunks_.capacity() * sizeof(chunks_[0]);
    }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t size_ = 0;
};

} // namespace ambervale
