#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ambervale {

// The IPP tags the program writes and reads (delimiters below 0x10, value tags from 0x10).
namespace ipp_tag {
inline constexpr std::uint8_t kOperationGroup = 0x01;
inline constexpr std::uint8_t kEndOfAttributes = 0x03;
inline constexpr std::uint8_t kPrinterGroup = 0x04;
inline constexpr std::uint8_t kFirstValueTag = 0x10;
inline constexpr std::uint8_t kInteger = 0x21;
inline constexpr std::uint8_t kEnum = 0x23;
inline constexpr std::uint8_t kOctetString = 0x30;
inline constexpr std::uint8_t kTextWithLanguage = 0x35;
inline constexpr std::uint8_t kNameWithLanguage = 0x36;
inline constexpr std::uint8_t kTextWithoutLanguage = 0x41;
inline constexpr std::uint8_t kNameWithoutLanguage = 0x42;
inline constexpr std::uint8_t kKeyword = 0x44;
inline constexpr std::uint8_t kUri = 0x45;
inline constexpr std::uint8_t kCharset = 0x47;
inline constexpr std::uint8_t kNaturalLanguage = 0x48;
} // namespace ipp_tag

inline constexpr std::uint16_t kGetPrinterAttributes = 0x000B;
// Larger answers are not read: the attributes asked for fit in a few kilobytes.
inline constexpr std::size_t kMaxIppResponse = 64 * 1024;

// Reads IPP's binary encoding from bytes that came from outside. The view can only shrink: every read checks what it
// needs against what is left and, when that is short, returns false and consumes nothing.
class IppReader {
public:
    explicit IppReader(std::span<const std::byte> bytes = {}) : rest_(bytes) {}

    bool Empty() const { return rest_.empty(); }
    bool ReadOctet(std::uint8_t& value);
    bool ReadShort(std::uint16_t& value);
    bool ReadInteger(std::int32_t& value);
    // A two-octet length and that many octets.
    bool ReadCounted(std::span<const std::byte>& contents);
    std::span<const std::byte> Bytes() const { return rest_; }

private:
    std::span<const std::byte> rest_;
};

// One value as it came: its tag and its octets.
struct IppValue {
    std::uint8_t tag = 0;
    std::string octets;

    bool operator==(const IppValue&) const = default;
};

// An attribute with all its values (a 1setOf has several); group is the delimiter tag it came under.
struct IppAttribute {
    std::uint8_t group = 0;
    std::string name;
    std::vector<IppValue> values;
};

struct IppResponse {
    std::uint16_t status = 0;
    std::vector<IppAttribute> attributes;

    // The attribute of that name in the printer's group; nullptr when the printer did not send it.
    const IppAttribute* PrinterAttribute(std::string_view name) const;
};

// The Get-Printer-Attributes request for the printer at printerUri: IPP/1.1, attributes-charset utf-8,
// attributes-natural-language en, and the attributes the program reads.
std::vector<std::byte> EncodeGetPrinterAttributes(std::string_view printerUri, std::int32_t requestId);

// The printer's response, when it is one to that request: at most kMaxIppResponse bytes, version 1.x or 2.x, status
// successful-ok or successful-ok-ignored-or-substituted, that request id, attributes every one of whose lengths fits
// the bytes, ended by end-of-attributes. Anything else is no answer (nullopt).
std::optional<IppResponse> ReadIppResponse(std::span<const std::byte> bytes, std::int32_t requestId);

// A value's integer (integer or enum, four octets).
std::optional<std::int32_t> IppIntegerOf(const IppValue& value);
// A value's text: keyword, name or text, with or without language (of which only the text is kept); nullopt for a
// value of another kind or a language form whose inner lengths do not fit.
std::optional<std::string> IppTextOf(const IppValue& value);

} // namespace ambervale
