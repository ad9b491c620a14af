#include "ipp/IppMessage.h"

namespace ambervale {
namespace {

constexpr std::string_view kRequestedAttributes[] = {
    "printer-state", "printer-state-reasons", "printer-state-message", "printer-alert", "printer-alert-description",
    "marker-names", "marker-types", "marker-levels", "printer-supply", "printer-supply-description"};

constexpr std::uint8_t kMaxSupportedMajorVersion = 2;
constexpr std::uint16_t kSuccessfulOk = 0x0000;
constexpr std::uint16_t kSuccessfulOkIgnoredOrSubstituted = 0x0001;

std::uint8_t Octet(std::span<const std::byte> bytes, std::size_t at) { return std::to_integer<std::uint8_t>(bytes[at]); }

void AppendOctet(std::vector<std::byte>& out, std::uint8_t octet) { out.push_back(static_cast<std::byte>(octet)); }
void AppendShort(std::vector<std::byte>& out, std::size_t value) {
    AppendOctet(out, static_cast<std::uint8_t>(value >> 8));
    AppendOctet(out, static_cast<std::uint8_t>(value));
}
void AppendText(std::vector<std::byte>& out, std::string_view text) {
    AppendShort(out, text.size());
    for (const char c : text) out.push_back(static_cast<std::byte>(c));
}
// An attribute's value; an empty name makes it one more value of the attribute before it.
void AppendAttribute(std::vector<std::byte>& out, std::uint8_t tag, std::string_view name, std::string_view value) {
    AppendOctet(out, tag);
    AppendText(out, name);
    AppendText(out, value);
}

std::string TextOf(std::span<const std::byte> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

bool IsDelimiter(std::uint8_t tag) { return tag < ipp_tag::kFirstValueTag; }

// The attributes after the header, up to end-of-attributes; false when one does not fit or the end never comes.
bool ReadAttributes(IppReader& reader, std::vector<IppAttribute>& attributes) {
    std::uint8_t group = 0;
    for (;;) {
        std::uint8_t tag = 0;
        if (!reader.ReadOctet(tag)) return false;
        if (tag == ipp_tag::kEndOfAttributes) return true;  // what follows is document data, which is not read
        if (IsDelimiter(tag)) {
            group = tag;
            continue;
        }
        // A value before any group belongs to none: not a response of IPP.
        if (group == 0) return false;
        std::span<const std::byte> name;
        std::span<const std::byte> value;
        if (!reader.ReadCounted(name) || !reader.ReadCounted(value)) return false;
        if (name.empty()) {
            // One more value of the attribute before it (a 1setOf, or a collection's members).
            if (attributes.empty() || attributes.back().group != group) return false;
            attributes.back().values.push_back({tag, TextOf(value)});
            continue;
        }
        attributes.push_back({group, TextOf(name), {{tag, TextOf(value)}}});
    }
}

} // namespace

bool IppReader::ReadOctet(std::uint8_t& value) {
    if (rest_.empty()) return false;
    value = Octet(rest_, 0);
    rest_ = rest_.subspan(1);
    return true;
}

bool IppReader::ReadShort(std::uint16_t& value) {
    if (rest_.size() < 2) return false;
    value = static_cast<std::uint16_t>((Octet(rest_, 0) << 8) | Octet(rest_, 1));
    rest_ = rest_.subspan(2);
    return true;
}

bool IppReader::ReadInteger(std::int32_t& value) {
    if (rest_.size() < 4) return false;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) bits = (bits << 8) | Octet(rest_, i);
    value = static_cast<std::int32_t>(bits);
    rest_ = rest_.subspan(4);
    return true;
}

bool IppReader::ReadCounted(std::span<const std::byte>& contents) {
    IppReader probe = *this;
    std::uint16_t length = 0;
    if (!probe.ReadShort(length) || length > probe.rest_.size()) return false;
    contents = probe.rest_.first(length);
    rest_ = probe.rest_.subspan(length);
    return true;
}

const IppAttribute* IppResponse::PrinterAttribute(std::string_view name) const {
    for (const IppAttribute& attribute : attributes) {
        if (attribute.group == ipp_tag::kPrinterGroup && attribute.name == name) return &attribute;
    }
    return nullptr;
}

std::vector<std::byte> EncodeGetPrinterAttributes(std::string_view printerUri, std::int32_t requestId) {
    std::vector<std::byte> out;
    AppendOctet(out, 1);  // IPP/1.1: what every IPP printer answers
    AppendOctet(out, 1);
    AppendShort(out, kGetPrinterAttributes);
    const auto id = static_cast<std::uint32_t>(requestId);
    for (int shift = 24; shift >= 0; shift -= 8) AppendOctet(out, static_cast<std::uint8_t>(id >> shift));
    AppendOctet(out, ipp_tag::kOperationGroup);
    AppendAttribute(out, ipp_tag::kCharset, "attributes-charset", "utf-8");
    AppendAttribute(out, ipp_tag::kNaturalLanguage, "attributes-natural-language", "en");
    AppendAttribute(out, ipp_tag::kUri, "printer-uri", printerUri);
    std::string_view name = "requested-attributes";
    for (const std::string_view attribute : kRequestedAttributes) {
        AppendAttribute(out, ipp_tag::kKeyword, name, attribute);
        name = {};
    }
    AppendOctet(out, ipp_tag::kEndOfAttributes);
    return out;
}

std::optional<IppResponse> ReadIppResponse(std::span<const std::byte> bytes, std::int32_t requestId) {
    if (bytes.size() > kMaxIppResponse) return std::nullopt;
    IppReader reader(bytes);
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    IppResponse response;
    std::int32_t id = 0;
    if (!reader.ReadOctet(major) || !reader.ReadOctet(minor) || !reader.ReadShort(response.status) ||
        !reader.ReadInteger(id)) {
        return std::nullopt;
    }
    if (major < 1 || major > kMaxSupportedMajorVersion || id != requestId) return std::nullopt;
    if (response.status != kSuccessfulOk && response.status != kSuccessfulOkIgnoredOrSubstituted) return std::nullopt;
    if (!ReadAttributes(reader, response.attributes)) return std::nullopt;
    return response;
}

std::optional<std::int32_t> IppIntegerOf(const IppValue& value) {
    if ((value.tag != ipp_tag::kInteger && value.tag != ipp_tag::kEnum) || value.octets.size() != 4) return std::nullopt;
    IppReader reader(std::as_bytes(std::span(value.octets)));
    std::int32_t number = 0;
    reader.ReadInteger(number);
    return number;
}

std::optional<std::string> IppTextOf(const IppValue& value) {
    switch (value.tag) {
    case ipp_tag::kKeyword:
    case ipp_tag::kTextWithoutLanguage:
    case ipp_tag::kNameWithoutLanguage:
        return value.octets;
    case ipp_tag::kTextWithLanguage:
    case ipp_tag::kNameWithLanguage: {
        // A counted language, then the counted text, filling the value exactly.
        IppReader reader(std::as_bytes(std::span(value.octets)));
        std::span<const std::byte> language;
        std::span<const std::byte> text;
        if (!reader.ReadCounted(language) || !reader.ReadCounted(text) || !reader.Empty()) return std::nullopt;
        return TextOf(text);
    }
    default:
        return std::nullopt;
    }
}

} // namespace ambervale
