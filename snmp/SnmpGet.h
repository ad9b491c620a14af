#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ambervale {

// An OBJECT IDENTIFIER as its BER contents octets: two are the same object exactly when their bytes are equal.
using ObjectId = std::vector<std::byte>;

// SNMPv1 GetRequest for the objects, as one UDP datagram.
std::vector<std::byte> EncodeGetRequest(std::string_view community, std::int32_t requestId,
                                        std::span<const ObjectId> objects);
// SNMPv1 GetNextRequest: the agent answers with the object that follows each one, which walks a table's columns.
std::vector<std::byte> EncodeGetNextRequest(std::string_view community, std::int32_t requestId,
                                            std::span<const ObjectId> objects);

// One value of a reply. Only the types the printer's objects have are told apart; any other, and a value of a known
// type that is malformed (a 9-byte INTEGER, a NULL with contents), is Other: nothing can be taken from it, but the
// reply around it is still the agent's.
struct SnmpValue {
    enum class Kind { Integer, Unsigned, OctetString, Null, NoSuchObject, NoSuchInstance, EndOfMibView, Other };
    Kind kind = Kind::Other;
    std::int32_t integer = 0;
    std::vector<std::byte> octets;
    std::uint64_t unsignedValue = 0;  // Counter32, Gauge32, Counter64
};

struct VarBind {
    ObjectId object;
    SnmpValue value;
};

// A GetResponse as the agent sent it, SNMPv1 or v2c.
struct GetResponse {
    std::int32_t requestId = 0;
    std::int32_t errorStatus = 0;
    std::int32_t errorIndex = 0;
    std::vector<VarBind> bindings;
};

// The error statuses the program tells apart: the reply would not fit in a datagram; the agent has no such object
// (SNMPv1, also its word for the end of what a GetNextRequest can walk).
inline constexpr std::int32_t kErrorTooBig = 1;
inline constexpr std::int32_t kErrorNoSuchName = 2;

// The reply in datagram when it is one whole, well-formed GetResponse of SNMPv1 or v2c with this community, and
// nothing else: no byte short, none over. nullopt for anything else, however it is malformed. Only the values are
// read leniently: one that cannot be read is Other.
std::optional<GetResponse> ReadGetResponse(std::span<const std::byte> datagram, std::string_view community);

} // namespace ambervale
