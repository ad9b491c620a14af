#include "logging/RowStore.h"

#include <algorithm>
#include <limits>
#include <new>

#include "base/Text.h"

namespace ambervale {
namespace {

// Stands for a digit of the date-time text in a pattern; no regional format writes it.
constexpr char kDigitMark = '\x01';
// Reports that change at every entry would make the table of known patterns grow with the rows: past this many it
// starts afresh. The patterns themselves stay, for the rows that use them.
constexpr std::size_t kMaxInterned = 4096;

} // namespace

RowStore::RowStore(std::size_t maxRows)
    : maxRows_(std::min<std::size_t>(maxRows, std::numeric_limits<std::uint32_t>::max())) {}

bool RowStore::Append(std::string_view dateTimeText, std::string_view reportLine) {
    if (rows_.Size() >= maxRows_) return false;
    try {
        Row row{};
        bool fits = dateTimeText.find(kDigitMark) == std::string_view::npos &&
                    reportLine.find(kDigitMark) == std::string_view::npos;
        marked_.assign(dateTimeText);
        std::size_t digits = 0;
        for (char& c : marked_) {
            if (!fits) break;
            if (!IsAsciiDigit(c)) continue;
            if (digits == kDigitsPerRow) {
                fits = false;
                break;
            }
            row.digits[digits / 2] |= static_cast<std::uint8_t>((c - '0') << (digits % 2 * 4));
            c = kDigitMark;
            ++digits;
        }
        if (!fits) marked_.assign(dateTimeText);
        marked_ += ' ';
        marked_ += reportLine;
        row.pattern = fits ? Intern(marked_) : AddPattern(marked_, true);
        rows_.PushBack(row);
        return true;
    } catch (const std::bad_alloc&) {
        // The list shows the rows it has; the entry still reaches the history file.
        return false;
    }
}

std::uint32_t RowStore::Intern(std::string_view marked) {
    if (const auto found = interned_.find(marked); found != interned_.end()) return found->second;
    if (interned_.size() >= kMaxInterned) interned_ = decltype(interned_){};
    const std::uint32_t id = AddPattern(marked, false);
    interned_.emplace(patterns_[id].text, id);
    return id;
}

std::uint32_t RowStore::AddPattern(std::string_view text, bool whole) {
    const auto id = static_cast<std::uint32_t>(patterns_.Size());
    patterns_.PushBack({texts_.Keep(text), whole});
    return id;
}

void RowStore::Render(std::size_t i, std::string& text) const {
    const Row& row = rows_[i];
    const Pattern& pattern = patterns_[row.pattern];
    text.assign(pattern.text);
    if (pattern.whole) return;
    std::size_t digit = 0;
    for (char& c : text) {
        if (c != kDigitMark) continue;
        c = static_cast<char>('0' + ((row.digits[digit / 2] >> (digit % 2 * 4)) & 0xF));
        ++digit;
    }
}

void RowStore::Clear() {
    rows_.Clear();
    patterns_.Clear();
    texts_.Clear();
    interned_ = decltype(interned_){};
    std::string().swap(marked_);
}

std::size_t RowStore::BytesHeld() const {
    // A node of the table: its key and value, the link to the next node and the key's hash.
    const std::size_t node = sizeof(std::string_view) + sizeof(std::uint32_t) + 2 * sizeof(void*);
    return rows_.BytesHeld() + patterns_.BytesHeld() + texts_.BytesHeld() + marked_.capacity() +
           interned_.bucket_count() * sizeof(void*) + interned_.size() * node;
}

} // namespace ambervale
