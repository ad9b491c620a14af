#include "snmp/Ber.h"

namespace ambervale {
namespace {

constexpr std::uint8_t kHighTagNumber = 0x1F;
constexpr std::uint8_t kLongLength = 0x80;
constexpr std::size_t kMaxLengthOctets = 4;
constexpr std::size_t kMaxIntegerOctets = 4;

std::uint8_t Octet(std::span<const std::byte> bytes, std::size_t at) { return std::to_integer<std::uint8_t>(bytes[at]); }

void Append(std::vector<std::byte>& out, std::uint8_t octet) { out.push_back(static_cast<std::byte>(octet)); }

} // namespace

bool BerReader::ReadAny(std::uint8_t& tag, BerReader& contents) {
    if (rest_.size() < 2) return false;
    const std::uint8_t first = Octet(rest_, 0);
    if ((first & kHighTagNumber) == kHighTagNumber) return false;
    const std::uint8_t lengthOctet = Octet(rest_, 1);
    std::size_t header = 2;
    std::size_t length = lengthOctet;
    if (lengthOctet & kLongLength) {
        // 0x80 alone is the indefinite form, which SNMP never uses.
        const std::size_t count = lengthOctet & ~kLongLength;
        if (count == 0 || count > kMaxLengthOctets || rest_.size() - header < count) return false;
        length = 0;
        for (std::size_t i = 0; i < count; ++i) length = (length << 8) | Octet(rest_, header + i);
        header += count;
    }
    if (length > rest_.size() - header) return false;
    tag = first;
    contents = BerReader(rest_.subspan(header, length));
    rest_ = rest_.subspan(header + length);
    return true;
}

bool BerReader::Read(std::uint8_t tag, BerReader& contents) {
    BerReader probe = *this;
    std::uint8_t found = 0;
    BerReader inner;
    if (!probe.ReadAny(found, inner) || found != tag) return false;
    *this = probe;
    contents = inner;
    return true;
}

bool BerReader::Read(std::uint8_t tag, std::span<const std::byte>& contents) {
    BerReader inner;
    if (!Read(tag, inner)) return false;
    contents = inner.Bytes();
    return true;
}

bool BerReader::ReadInteger(std::int32_t& value) {
    BerReader probe = *this;
    BerReader inner;
    std::int32_t read = 0;
    if (!probe.Read(ber::kInteger, inner) || !inner.AsInteger(read)) return false;
    *this = probe;
    value = read;
    return true;
}

bool BerReader::AsInteger(std::int32_t& value) const {
    if (rest_.empty() || rest_.size() > kMaxIntegerOctets) return false;
    // Two's complement, most significant octet first: the first octet's top bit is the sign.
    std::uint32_t bits = (Octet(rest_, 0) & 0x80) ? 0xFFFFFFFFu : 0u;
    for (std::size_t i = 0; i < rest_.size(); ++i) bits = (bits << 8) | Octet(rest_, i);
    value = static_cast<std::int32_t>(bits);
    return true;
}

std::vector<std::byte> BerElement(std::uint8_t tag, std::span<const std::byte> contents) {
    std::vector<std::byte> out;
    out.reserve(contents.size() + 6);
    Append(out, tag);
    const std::size_t length = contents.size();
    if (length < kLongLength) {
        Append(out, static_cast<std::uint8_t>(length));
    } else {
        std::size_t count = 0;
        for (std::size_t rest = length; rest != 0; rest >>= 8) ++count;
        Append(out, static_cast<std::uint8_t>(kLongLength | count));
        for (std::size_t i = count; i > 0; --i) Append(out, static_cast<std::uint8_t>(length >> (8 * (i - 1))));
    }
    out.insert(out.end(), contents.begin(), contents.end());
    return out;
}

std::vector<std::byte> BerInteger(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    std::size_t count = 4;
    // Drop a leading octet while the next one still carries the same sign.
    while (count > 1) {
        const std::uint32_t top = (bits >> (8 * (count - 1))) & 0xFF;
        const std::uint32_t nextSign = (bits >> (8 * (count - 1) - 1)) & 1;
        if (!((top == 0 && nextSign == 0) || (top == 0xFF && nextSign == 1))) break;
        --count;
    }
    std::vector<std::byte> contents;
    for (std::size_t i = count; i > 0; --i) Append(contents, static_cast<std::uint8_t>(bits >> (8 * (i - 1))));
    return BerElement(ber::kInteger, contents);
}

std::vector<std::byte> BerObjectIdContents(std::span<const std::uint32_t> arcs) {
    std::vector<std::byte> out;
    if (arcs.size() < 2) return out;
    auto appendArc = [&](std::uint64_t arc) {
        // Base 128, most significant group first, each but the last with its top bit set.
        std::size_t groups = 1;
        for (std::uint64_t rest = arc >> 7; rest != 0; rest >>= 7) ++groups;
        for (std::size_t i = groups; i > 0; --i) {
            const auto group = static_cast<std::uint8_t>((arc >> (7 * (i - 1))) & 0x7F);
            Append(out, i > 1 ? static_cast<std::uint8_t>(group | 0x80) : group);
        }
    };
    appendArc(std::uint64_t{arcs[0]} * 40 + arcs[1]);
    for (std::size_t i = 2; i < arcs.size(); ++i) appendArc(arcs[i]);
    return out;
}

} // namespace ambervale
