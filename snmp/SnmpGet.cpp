#include "snmp/SnmpGet.h"

#include <algorithm>

#include "snmp/Ber.h"

namespace ambervale {
namespace {

constexpr std::int32_t kVersion1 = 0;
constexpr std::int32_t kVersion2c = 1;
constexpr std::uint8_t kGetRequestPdu = 0xA0;
constexpr std::uint8_t kGetResponsePdu = 0xA2;
// The exceptions a v2c agent puts in place of a value.
constexpr std::uint8_t kNoSuchObject = 0x80;
constexpr std::uint8_t kNoSuchInstance = 0x81;
constexpr std::uint8_t kEndOfMibView = 0x82;
// No reply to three objects comes near this many bindings; more is not an answer to this program's question.
constexpr std::size_t kMaxBindings = 16;

std::vector<std::byte> Concatenate(std::initializer_list<std::span<const std::byte>> parts) {
    std::vector<std::byte> out;
    for (const auto part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::span<const std::byte> AsBytes(std::string_view text) {
    return std::as_bytes(std::span<const char>(text.data(), text.size()));
}

bool ReadValue(BerReader& binding, SnmpValue& value) {
    std::uint8_t tag = 0;
    BerReader contents;
    if (!binding.ReadAny(tag, contents)) return false;
    switch (tag) {
    case ber::kInteger:
        value.kind = SnmpValue::Kind::Integer;
        return contents.AsInteger(value.integer);
    case ber::kOctetString:
        value.kind = SnmpValue::Kind::OctetString;
        value.octets.assign(contents.Bytes().begin(), contents.Bytes().end());
        return true;
    case ber::kNull:
        value.kind = SnmpValue::Kind::Null;
        return contents.Empty();
    case kNoSuchObject:
        value.kind = SnmpValue::Kind::NoSuchObject;
        return contents.Empty();
    case kNoSuchInstance:
        value.kind = SnmpValue::Kind::NoSuchInstance;
        return contents.Empty();
    case kEndOfMibView:
        value.kind = SnmpValue::Kind::EndOfMibView;
        return contents.Empty();
    default:
        value.kind = SnmpValue::Kind::Other;
        return true;
    }
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

} // namespace

std::vector<std::byte> EncodeGetRequest(std::string_view community, std::int32_t requestId,
                                        std::span<const ObjectId> objects) {
    constexpr std::byte kNullElement[] = {std::byte{ber::kNull}, std::byte{0}};
    std::vector<std::byte> bindings;
    for (const ObjectId& object : objects) {
        const auto binding = BerElement(ber::kSequence, Concatenate({BerElement(ber::kObjectId, object), kNullElement}));
        bindings.insert(bindings.end(), binding.begin(), binding.end());
    }
    const auto noError = BerInteger(0);
    const auto pdu = BerElement(kGetRequestPdu, Concatenate({BerInteger(requestId), noError, noError,
                                                             BerElement(ber::kSequence, bindings)}));
    return BerElement(ber::kSequence, Concatenate({BerInteger(kVersion1),
                                                   BerElement(ber::kOctetString, AsBytes(community)), pdu}));
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
