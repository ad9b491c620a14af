#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ambervale {

// The BER tags of the SNMP messages the program writes and reads.
namespace ber {
inline constexpr std::uint8_t kInteger = 0x02;
inline constexpr std::uint8_t kOctetString = 0x04;
inline constexpr std::uint8_t kNull = 0x05;
inline constexpr std::uint8_t kObjectId = 0x06;
inline constexpr std::uint8_t kSequence = 0x30;
} // namespace ber

// Reads BER elements from bytes that came from outside. The reader's view can only shrink: every read checks the
// tag and the length it needs against what is left, and on any mismatch returns false and consumes nothing, so no
// read can go past the bytes it was given. A nested value is read through a reader over exactly its own contents.
// Only definite lengths of up to four octets and one-octet tags are accepted.
class BerReader {
public:
    explicit BerReader(std::span<const std::byte> bytes = {}) : rest_(bytes) {}

    bool Empty() const { return rest_.empty(); }

    // The next element, whatever its tag: its tag and its contents.
    bool ReadAny(std::uint8_t& tag, BerReader& contents);
    // The next element, when it has this tag: its contents.
    bool Read(std::uint8_t tag, BerReader& contents);
    bool Read(std::uint8_t tag, std::span<const std::byte>& contents);
    // An INTEGER of one to four octets, as a signed 32-bit number.
    bool ReadInteger(std::int32_t& value);

    // The contents as an INTEGER of one to four octets (the reader must hold exactly them).
    bool AsInteger(std::int32_t& value) const;
    std::span<const std::byte> Bytes() const { return rest_; }

private:
    std::span<const std::byte> rest_;
};

// One element, tag, length and contents, in the shortest definite form.
std::vector<std::byte> BerElement(std::uint8_t tag, std::span<const std::byte> contents);
// An INTEGER in its fewest octets.
std::vector<std::byte> BerInteger(std::int32_t value);
// The contents octets of an OBJECT IDENTIFIER; arcs has at least two arcs, the first 0 to 2 (not checked).
std::vector<std::byte> BerObjectIdContents(std::span<const std::uint32_t> arcs);

} // namespace ambervale
