#pragma once
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ambervale {

// A value for each status that a printer or a day has had, in the order first seen. A printer has a few statuses,
// found by a look along them; a record written by hand may have a new one at every line, and then an index finds
// them.
template <class Value>
class StatusTable {
public:
    Value& operator[](std::uint32_t status) {
        if (const auto at = Find(status)) return entries_[at - 1].second;
        entries_.emplace_back(status, Value{});
        if (entries_.size() == kFew + 1) {
            for (std::size_t i = 0; i < entries_.size(); ++i) index_[entries_[i].first] = i;
        } else if (entries_.size() > kFew + 1) {
            index_[status] = entries_.size() - 1;
        }
        return entries_.back().second;
    }
    bool contains(std::uint32_t status) const { return Find(status) != 0; }
    const Value& at(std::uint32_t status) const { return entries_.at(Find(status) - 1).second; }
    std::size_t size() const { return entries_.size(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    static constexpr std::size_t kFew = 8;
    // One past the entry's place; 0 when there is none.
    std::size_t Find(std::uint32_t status) const {
        if (entries_.size() <= kFew) {
            for (std::size_t i = 0; i < entries_.size(); ++i) {
                if (entries_[i].first == status) return i + 1;
            }
            return 0;
        }
        const auto found = index_.find(status);
        return found == index_.end() ? 0 : found->second + 1;
    }

    std::vector<std::pair<std::uint32_t, Value>> entries_;
    std::unordered_map<std::uint32_t, std::size_t> index_;
};

} // namespace ambervale
