// The GET request against bytes written out by hand, and the reader against replies written out by hand.
#include "snmp/SnmpGet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeSnmp.h"
#include "snmp/Ber.h"
#include "snmp/PrinterMib.h"

namespace ambervale {
namespace {

using testing::Bytes;
using testing::PrinterObjectsAt;

TEST(SnmpGetRequest, IsSnmpV1GetOfTheThreePrinterObjects) {
    const std::vector<std::byte> expected = Bytes({
        0x30, 0x4c,                                      // message
        0x02, 0x01, 0x00,                                // version 1
        0x04, 0x06, 'p', 'u', 'b', 'l', 'i', 'c',        // community
        0xa0, 0x3f,                                      // GetRequest
        0x02, 0x02, 0x12, 0x34,                          // request id 4660
        0x02, 0x01, 0x00, 0x02, 0x01, 0x00,              // no error, index 0
        0x30, 0x33,                                      // bindings
        0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 2, 1, 5, 1, 0x05, 0x00,  // hrDeviceStatus.1
        0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 5, 1, 1, 1, 0x05, 0x00,  // hrPrinterStatus.1
        0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 5, 1, 2, 1, 0x05, 0x00,  // hrPrinterDetectedErrorState.1
    });
    EXPECT_EQ(EncodeGetRequest("public", 0x1234, PrinterObjectsAt(1)), expected);
}

TEST(SnmpGetRequest, WritesLargeIndexesIdsAndLongCommunitiesInTheirBerForms) {
    // Index 300 is two base-128 groups; id -1 one octet; 2^31-1 four.
    EXPECT_EQ(ObjectIdOf(PrinterObject::DeviceStatus, 300), Bytes({0x2b, 6, 1, 2, 1, 25, 3, 2, 1, 5, 0x82, 0x2c}));
    EXPECT_EQ(ObjectIdOf(PrinterObject::DeviceStatus, 0x7FFFFFFF),
              Bytes({0x2b, 6, 1, 2, 1, 25, 3, 2, 1, 5, 0x87, 0xff, 0xff, 0xff, 0x7f}));
    EXPECT_EQ(BerInteger(-1), Bytes({0x02, 0x01, 0xff}));
    EXPECT_EQ(BerInteger(128), Bytes({0x02, 0x02, 0x00, 0x80}));
    EXPECT_EQ(BerInteger(-129), Bytes({0x02, 0x02, 0xff, 0x7f}));
    EXPECT_EQ(BerInteger(0x7FFFFFFF), Bytes({0x02, 0x04, 0x7f, 0xff, 0xff, 0xff}));

    const std::vector<std::byte> request = EncodeGetRequest(std::string(200, 'c'), 7, PrinterObjectsAt(1));
    // 3 + 203 + 64 bytes of contents (id 7 takes one octet): the message's length takes one more octet, and so does the community's.
    ASSERT_EQ(request.size(), 274u);
    EXPECT_EQ(std::vector<std::byte>(request.begin(), request.begin() + 9),
              Bytes({0x30, 0x82, 0x01, 0x0e, 0x02, 0x01, 0x00, 0x04, 0x81}));
    EXPECT_EQ(request[9], std::byte{200});
}

// A reply of the shape agents send: version, community "public", id 0x1234, then the PDU's status, index and bindings.
std::vector<std::byte> Reply(int version, std::initializer_list<int> statusIndexAndBindings) {
    const int pduLength = 4 + static_cast<int>(statusIndexAndBindings.size());
    std::vector<std::byte> whole = Bytes({0x30, 13 + pduLength, 0x02, 0x01, version, 0x04, 0x06, 'p', 'u', 'b', 'l', 'i',
                                          'c', 0xa2, pduLength, 0x02, 0x02, 0x12, 0x34});
    const std::vector<std::byte> rest = Bytes(statusIndexAndBindings);
    whole.insert(whole.end(), rest.begin(), rest.end());
    return whole;
}

// Running (2), idle (3), jammed and door open (0x0c: bits 4 and 5).
const std::vector<std::byte> kJammedReply = Reply(0, {
    0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x36,
    0x30, 0x10, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 2, 1, 5, 1, 0x02, 0x01, 0x02,
    0x30, 0x10, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 5, 1, 1, 1, 0x02, 0x01, 0x03,
    0x30, 0x10, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 5, 1, 2, 1, 0x04, 0x01, 0x0c,
});

TEST(SnmpGetResponse, ReadsAnSnmpV1AnswerValueByValue) {
    const auto reply = ReadGetResponse(kJammedReply, "public");
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->requestId, 0x1234);
    EXPECT_EQ(reply->errorStatus, 0);
    ASSERT_EQ(reply->bindings.size(), 3u);
    EXPECT_EQ(reply->bindings[0].object, ObjectIdOf(PrinterObject::DeviceStatus, 1));
    EXPECT_EQ(reply->bindings[0].value.kind, SnmpValue::Kind::Integer);
    EXPECT_EQ(reply->bindings[0].value.integer, 2);
    EXPECT_EQ(reply->bindings[2].value.kind, SnmpValue::Kind::OctetString);
    EXPECT_EQ(reply->bindings[2].value.octets, Bytes({0x0c}));

    const ReplyVerdict verdict = JudgeReply(*reply, PrinterObjectsAt(1));
    EXPECT_EQ(verdict.kind, ReplyVerdict::Kind::Answer);
    EXPECT_EQ(verdict.values.size(), 3u);
}

TEST(SnmpGetResponse, ReadsV2cExceptionsAsObjectsTheAgentDoesNotHave) {
    // A v2c agent that is no printer: a device row, noSuchObject and noSuchInstance for the printer's own.
    const auto reply = ReadGetResponse(Reply(1, {
        0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x34,
        0x30, 0x10, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 2, 1, 5, 1, 0x02, 0x01, 0x05,
        0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 5, 1, 1, 1, 0x80, 0x00,
        0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 5, 1, 2, 1, 0x81, 0x00,
    }), "public");
    ASSERT_TRUE(reply.has_value());
    const ReplyVerdict verdict = JudgeReply(*reply, PrinterObjectsAt(1));
    ASSERT_EQ(verdict.kind, ReplyVerdict::Kind::Answer);
    EXPECT_TRUE(verdict.values[0].has_value());
    EXPECT_FALSE(verdict.values[1].has_value());
    EXPECT_FALSE(verdict.values[2].has_value());
}

TEST(SnmpGetResponse, NoSuchNameNamesTheMissingObjectByItsPlace) {
    // SNMPv1 agents echo the request's bindings with error status 2 and the 1-based place of the missing one.
    const auto reply = ReadGetResponse(Reply(0, {
        0x02, 0x01, 0x02, 0x02, 0x01, 0x02, 0x30, 0x33,
        0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 2, 1, 5, 1, 0x05, 0x00,
        0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 5, 1, 1, 1, 0x05, 0x00,
        0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 25, 3, 5, 1, 2, 1, 0x05, 0x00,
    }), "public");
    ASSERT_TRUE(reply.has_value());
    const ReplyVerdict verdict = JudgeReply(*reply, PrinterObjectsAt(1));
    EXPECT_EQ(verdict.kind, ReplyVerdict::Kind::NoSuchName);
    EXPECT_EQ(verdict.missingObject, 1u);

    // Any other error, or a noSuchName that names no object asked for, is still the agent's word: it is up.
    GetResponse outside = *reply;
    for (int index : {0, 4, -1}) {
        outside.errorIndex = index;
        EXPECT_EQ(JudgeReply(outside, PrinterObjectsAt(1)).kind, ReplyVerdict::Kind::AgentError) << index;
    }
    outside.errorStatus = 5;  // genErr
    outside.errorIndex = 1;
    EXPECT_EQ(JudgeReply(outside, PrinterObjectsAt(1)).kind, ReplyVerdict::Kind::AgentError);
    outside.bindings.clear();  // as RFC 3416 sends tooBig
    outside.errorStatus = kErrorTooBig;
    EXPECT_EQ(JudgeReply(outside, PrinterObjectsAt(1)).kind, ReplyVerdict::Kind::TooBig);
    outside.errorStatus = 0;
    EXPECT_EQ(JudgeReply(outside, PrinterObjectsAt(1)).kind, ReplyVerdict::Kind::NotAnAnswer);
}

TEST(SnmpGetResponse, AnswersToOtherObjectsOrAnotherCommunityAreNoAnswer) {
    const auto reply = ReadGetResponse(kJammedReply, "public");
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(JudgeReply(*reply, PrinterObjectsAt(2)).kind, ReplyVerdict::Kind::NotAnAnswer) << "another index";
    EXPECT_EQ(JudgeReply(*reply, {PrinterObjectsAt(1)[0], PrinterObjectsAt(1)[1]}).kind,
              ReplyVerdict::Kind::NotAnAnswer) << "another count";
    EXPECT_FALSE(ReadGetResponse(kJammedReply, "private").has_value());
    EXPECT_FALSE(ReadGetResponse(kJammedReply, "publi").has_value());
    EXPECT_FALSE(ReadGetResponse(kJammedReply, "").has_value());
}

TEST(SnmpGetResponse, AnythingMalformedIsNoReplyAtAll) {
    const int length = std::to_integer<int>(kJammedReply[1]);
    auto with = [](std::size_t at, int octet) {
        std::vector<std::byte> bytes = kJammedReply;
        bytes[at] = static_cast<std::byte>(octet);
        return bytes;
    };
    std::vector<std::byte> trailing = kJammedReply;
    trailing.push_back(std::byte{0});
    const struct {
        const char* what;
        std::vector<std::byte> bytes;
    } cases[] = {
        {"a byte after the message", trailing},
        {"version 3", with(4, 3)},
        {"a negative version", with(4, 0xff)},
        {"a GetRequest, not a response", with(13, 0xa0)},
        {"an outer length one too short", with(1, length - 1)},
        {"the indefinite length form", with(1, 0x80)},
        {"a length of five octets", with(1, 0x85)},
        {"a high tag number", with(0, 0x3f)},
        {"a request id of zero octets", with(16, 0x00)},
        {"a request id of five octets", with(16, 0x05)},
        {"a binding list that is not a sequence", with(25, 0x31)},
        {"a binding without its value", with(28, 0x0d)},
        {"an object id of another tag", with(29, 0x04)},
        {"a value cut short", Reply(0, {0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x07,
                                        0x30, 0x05, 0x06, 0x01, 0x2b, 0x02, 0x02})},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ReadGetResponse(c.bytes, "public").has_value()) << c.what;
    }
    // Cut anywhere, the empty datagram and the outer header alone included.
    for (std::size_t length = 0; length < kJammedReply.size(); ++length) {
        const std::span<const std::byte> truncated(kJammedReply.data(), length);
        EXPECT_FALSE(ReadGetResponse(truncated, "public").has_value()) << "cut to " << length << " bytes";
    }
}

TEST(SnmpGetResponse, ValuesThatCannotBeUsedAreOtherAndTheReplyAroundThemStillReads) {
    // Bindings of object 1.3: a 9-byte INTEGER, an empty one, a NULL with contents, an IpAddress, Counter32 2^32-1
    // with its leading zero, a Counter64 of nine octets.
    const auto reply = ReadGetResponse(Reply(0, {
        0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x46,
        0x30, 0x0e, 0x06, 0x01, 0x2b, 0x02, 0x09, 1, 2, 3, 4, 5, 6, 7, 8, 9,
        0x30, 0x05, 0x06, 0x01, 0x2b, 0x02, 0x00,
        0x30, 0x06, 0x06, 0x01, 0x2b, 0x05, 0x01, 0x00,
        0x30, 0x09, 0x06, 0x01, 0x2b, 0x40, 0x04, 127, 0, 0, 1,
        0x30, 0x0a, 0x06, 0x01, 0x2b, 0x41, 0x05, 0x00, 0xff, 0xff, 0xff, 0xff,
        0x30, 0x0e, 0x06, 0x01, 0x2b, 0x46, 0x09, 0x00, 0x80, 0, 0, 0, 0, 0, 0, 1,
    }), "public");
    ASSERT_TRUE(reply.has_value());
    ASSERT_EQ(reply->bindings.size(), 6u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(reply->bindings[i].value.kind, SnmpValue::Kind::Other) << i;
    EXPECT_EQ(reply->bindings[4].value.kind, SnmpValue::Kind::Unsigned);
    EXPECT_EQ(reply->bindings[4].value.unsignedValue, 0xFFFFFFFFu);
    EXPECT_EQ(reply->bindings[5].value.kind, SnmpValue::Kind::Unsigned);
    EXPECT_EQ(reply->bindings[5].value.unsignedValue, 0x8000000000000001u);
}

TEST(SnmpGetNextRequest, IsTheGetRequestWithItsOwnPduTag) {
    const std::vector<ObjectId> column = {Bytes({0x2b, 6, 1, 2, 1, 43, 11, 1, 1, 9, 1})};  // prtMarkerSuppliesLevel.1
    EXPECT_EQ(EncodeGetNextRequest("public", 5, column),
              Bytes({0x30, 0x29, 0x02, 0x01, 0x00, 0x04, 0x06, 'p', 'u', 'b', 'l', 'i', 'c',
                     0xa1, 0x1c, 0x02, 0x01, 0x05, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00,
                     0x30, 0x11, 0x30, 0x0f, 0x06, 0x0b, 0x2b, 6, 1, 2, 1, 43, 11, 1, 1, 9, 1, 0x05, 0x00}));
}

TEST(BerReader, NeverReadsPastItsBytesAndConsumesNothingOnAFailure) {
    // An element that claims more than is there, inside one whose own length is right.
    const std::vector<std::byte> bytes = Bytes({0x30, 0x03, 0x04, 0x7f, 0x41, 0x02, 0x01, 0x07});
    BerReader reader(bytes);
    BerReader sequence;
    ASSERT_TRUE(reader.Read(ber::kSequence, sequence));
    std::span<const std::byte> octets;
    EXPECT_FALSE(sequence.Read(ber::kOctetString, octets));
    EXPECT_EQ(sequence.Bytes().size(), 3u) << "the failed read took nothing";
    std::int32_t value = 0;
    EXPECT_FALSE(reader.Read(ber::kOctetString, octets)) << "wrong tag";
    ASSERT_TRUE(reader.ReadInteger(value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(reader.Empty());
    EXPECT_FALSE(reader.ReadInteger(value));
}

} // namespace
} // namespace ambervale
