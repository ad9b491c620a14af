#include "snmp/SnmpGet.h"

#include <algorithm>

#include "snmp/Ber.h"

namespace ambervale {
namespace {

constexpr std::int32_t kVersion1 = 0;
constexpr std::int32_t kVersion2c = 1;
constexpr std::uint8_t kGetRequestPdu = 0xA0;
constexpr std::uint8_t kGetNextRequestPdu = 0xA1;
constexpr std::uint8_t kGetResponsePdu = 0xA2;
// The exceptions a v2c agent puts in place of a value.
constexpr std::uint8_t kNoSuchObject = 0x80;
constexpr std::uint8_t kNoSuchInstance = 0x81;
constexpr std::uint8_t kEndOfMibView = 0x82;
constexpr std::uint8_t kCounter32 = 0x41;
constexpr std::uint8_t kGauge32 = 0x42;
constexpr std::uint8_t kCounter64 = 0x46;
// No reply to the program's questions (seven objects at most) comes near this many bindings; more is not an answer.
constexpr std::size_t kMaxBindings = 16;

std::vector<std::byte> Concatenate(std::initializer_list<std::span<const std::byte>> parts) {
    std::vector<std::byte> out;
    for (const auto part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::span<const std::byte> AsBytes(std::string_view text) {
    return std::as_bytes(std::span<const char>(text.data(), text.size()));
}

// An unsigned number of up to eight octets, plus the leading zero octet BER needs when the top bit is set.
bool AsUnsigned(std::span<const std::byte> octets, std::uint64_t& value) {
    if (octets.empty() || std::to_integer<std::uint8_t>(octets[0]) & 0x80) return false;
    if (octets.size() > 8 && !(octets.size() == 9 && octets[0] == std::byte{0})) return false;
    value = 0;
    for (const std::byte octet : octets) value = (value << 8) | std::to_integer<std::uint8_t>(octet);
    return true;
}

SnmpValue::Kind Marker(bool wellFormed, SnmpValue::Kind kind) { return wellFormed ? kind : SnmpValue::Kind::Other; }

// Whatever the value holds, the binding around it has been read: a malformed value becomes Other, never a reason to
// throw the whole reply away.
bool ReadValue(BerReader& binding, SnmpValue& value) {
    std::uint8_t tag = 0;
    BerReader contents;
    if (!binding.ReadAny(tag, contents)) return false;
    switch (tag) {
    case ber::kInteger:
        value.kind = Marker(contents.AsInteger(value.integer), SnmpValue::Kind::Integer);
        break;
    case kCounter32:
    case kGauge32:
    case kCounter64:
        value.kind = Marker(AsUnsigned(contents.Bytes(), value.unsignedValue), SnmpValue::Kind::Unsigned);
        break;
    case ber::kOctetString:
        value.kind = SnmpValue::Kind::OctetString;
        value.octets.assign(contents.Bytes().begin(), contents.Bytes().end());
        break;
    case ber::kNull:
        value.kind = Marker(contents.Empty(), SnmpValue::Kind::Null);
        break;
    case kNoSuchObject:
        value.kind = Marker(contents.Empty(), SnmpValue::Kind::NoSuchObject);
        break;
    case kNoSuchInstance:
        value.kind = Marker(contents.Empty(), SnmpValue::Kind::NoSuchInstance);
        break;
    case kEndOfMibView:
        value.kind = Marker(contents.Empty(), SnmpValue::Kind::EndOfMibView);
        break;
    default:
        value.kind = SnmpValue::Kind::Other;
        break;
    }
    return true;
}

bool ReadBindings(BerReader list, std::vector<VarBind>& bindings) {
    while (!list.Empty()) {
        if (bindings.size() == kMaxBindings) return false;
        BerReader binding;
        std::span<const std::byte> object;
        VarBind read;
        if (!list.Read(ber::kSequence, binding) || !binding.Read(ber::kObjectId, object) || object.empty() ||
            !ReadValue(binding, read.value) || !binding.Empty()) {
            return false;
        }
        read.object.assign(object.begin(), object.end());
        bindings.push_back(std::move(read));
    }
    return true;
}

std::vector<std::byte> EncodeRequest(std::uint8_t pduTag, std::string_view community, std::int32_t requestId,
                                     std::span<const ObjectId> objects) {
    constexpr std::byte kNullElement[] = {std::byte{ber::kNull}, std::byte{0}};
    std::vector<std::byte> bindings;
    for (const ObjectId& object : objects) {
        const auto binding = BerElement(ber::kSequence, Concatenate({BerElement(ber::kObjectId, object), kNullElement}));
        bindings.insert(bindings.end(), binding.begin(), binding.end());
    }
    const auto noError = BerInteger(0);
    const auto pdu = BerElement(pduTag, Concatenate({BerInteger(requestId), noError, noError,
                                                     BerElement(ber::kSequence, bindings)}));
    return BerElement(ber::kSequence, Concatenate({BerInteger(kVersion1),
                                                   BerElement(ber::kOctetString, AsBytes(community)), pdu}));
}

} // namespace

std::vector<std::byte> EncodeGetRequest(std::string_view community, std::int32_t requestId,
                                        std::span<const ObjectId> objects) {
    return EncodeRequest(kGetRequestPdu, community, requestId, objects);
}

std::vector<std::byte> EncodeGetNextRequest(std::string_view community, std::int32_t requestId,
                                            std::span<const ObjectId> objects) {
    return EncodeRequest(kGetNextRequestPdu, community, requestId, objects);
}

std::optional<GetResponse> ReadGetResponse(std::span<const std::byte> datagram, std::string_view community) {
    BerReader whole(datagram);
    BerReader message;
    if (!whole.Read(ber::kSequence, message) || !whole.Empty()) return std::nullopt;

    std::int32_t version = -1;
    std::span<const std::byte> sentCommunity;
    BerReader pdu;
    if (!message.ReadInteger(version) || (version != kVersion1 && version != kVersion2c) ||
        !message.Read(ber::kOctetString, sentCommunity) || !message.Read(kGetResponsePdu, pdu) || !message.Empty()) {
        return std::nullopt;
    }
    const auto expected = AsBytes(community);
    if (!std::equal(sentCommunity.begin(), sentCommunity.end(), expected.begin(), expected.end())) return std::nullopt;

    GetResponse response;
    BerReader bindings;
    if (!pdu.ReadInteger(response.requestId) || !pdu.ReadInteger(response.errorStatus) ||
        !pdu.ReadInteger(response.errorIndex) || !pdu.Read(ber::kSequence, bindings) || !pdu.Empty() ||
        !ReadBindings(bindings, response.bindings)) {
        return std::nullopt;
    }
    return response;
}

} // namespace ambervale
