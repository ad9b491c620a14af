#pragma once
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "snmp/Ber.h"
#include "snmp/PrinterMib.h"
#include "snmp/SnmpGet.h"
#include "snmp/SnmpTransport.h"
#include "snmp/TableWalk.h"
#include "fakes/FakeAsking.h"

namespace ambervale::testing {

// The three objects the program asks a printer for, in the row of that device index, in the order it asks.
inline std::vector<ObjectId> PrinterObjectsAt(std::uint32_t index) {
    return {ObjectIdOf(PrinterObject::DeviceStatus, index), ObjectIdOf(PrinterObject::PrinterStatus, index),
            ObjectIdOf(PrinterObject::DetectedErrorState, index)};
}

// An agent on the other side of the transport: the datagrams it sends back after each request, in turn; a request
// with nothing queued is met with silence.
class FakeAgent : public SnmpTransport {
public:
    SnmpOpening Open(const std::string& host, AskClock::time_point) override {
        opened.push_back(host);
        if (!localFailure.empty()) return {nullptr, localFailure};
        if (unreachable) return {};
        return {std::make_unique<Conversation>(*this), ""};
    }

    // The requests that were GetRequests (the status question's), not GetNextRequests (the supplies' walk).
    std::vector<std::vector<std::byte>> GetRequests() const {
        std::vector<std::vector<std::byte>> gets;
        for (const auto& request : requests) {
            if (PduTag(request) == 0xA0) gets.push_back(request);
        }
        return gets;
    }
    static int PduTag(std::span<const std::byte> request) {
        BerReader whole(request), message, ignored;
        std::uint8_t tag = 0;
        if (!whole.Read(ber::kSequence, message) || !message.ReadAny(tag, ignored) || !message.ReadAny(tag, ignored) ||
            !message.ReadAny(tag, ignored)) {
            return -1;
        }
        return tag;
    }

    std::vector<std::string> opened;
    std::vector<std::vector<std::byte>> requests;
    // replies[i]: what comes while the agent is waited for after request i.
    std::vector<std::deque<std::vector<std::byte>>> replies;
    bool unreachable = false;
    std::string localFailure;

private:
    class Conversation : public SnmpConversation {
    public:
        explicit Conversation(FakeAgent& agent) : agent_(agent) {}
        void Send(std::span<const std::byte> datagram) override {
            agent_.requests.emplace_back(datagram.begin(), datagram.end());
        }
        std::optional<std::vector<std::byte>> Receive(AskClock::time_point) override {
            const std::size_t request = agent_.requests.size() - 1;
            if (request >= agent_.replies.size() || agent_.replies[request].empty()) return std::nullopt;
            auto datagram = std::move(agent_.replies[request].front());
            agent_.replies[request].pop_front();
            return datagram;
        }

    private:
        FakeAgent& agent_;
    };
};

// An agent that answers from a MIB of its own, GetRequests and GetNextRequests, as an SNMPv1 agent does (noSuchName)
// or a v2c one (noSuchObject, endOfMibView). Values are whole BER elements.
class FakeMibAgent : public SnmpTransport {
public:
    using Binding = std::pair<ObjectArcs, std::vector<std::byte>>;

    SnmpOpening Open(const std::string&, AskClock::time_point) override {
        return {std::make_unique<Conversation>(*this), ""};
    }

    std::map<ObjectArcs, std::vector<std::byte>> mib;
    bool v2c = false;
    std::size_t maxBindings = 64;      // a request for more is answered tooBig
    std::int32_t getNextError = 0;     // an error status for every GetNextRequest (genErr...)
    // In place of the MIB for GetNextRequests, when set: the binding after the object asked for.
    std::function<std::optional<Binding>(const ObjectArcs&)> next;
    int gets = 0;
    int getNexts = 0;
    int alertGetNexts = 0;  // the alert table's walks, counted apart from the others (the supplies')
    std::vector<std::vector<ObjectArcs>> getNextObjects;  // the objects of each GetNextRequest

private:
    class Conversation : public SnmpConversation {
    public:
        explicit Conversation(FakeMibAgent& agent) : agent_(agent) {}
        void Send(std::span<const std::byte> datagram) override {
            if (auto reply = agent_.Answer(datagram)) replies_.push_back(std::move(*reply));
        }
        std::optional<std::vector<std::byte>> Receive(AskClock::time_point) override {
            if (replies_.empty()) return std::nullopt;
            auto reply = std::move(replies_.front());
            replies_.pop_front();
            return reply;
        }

    private:
        FakeMibAgent& agent_;
        std::deque<std::vector<std::byte>> replies_;
    };

    static std::vector<std::byte> Join(std::initializer_list<std::vector<std::byte>> parts) {
        std::vector<std::byte> out;
        for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
        return out;
    }

    std::optional<std::vector<std::byte>> Answer(std::span<const std::byte> request) {
        BerReader whole(request), message, pdu, list;
        std::int32_t version = 0, id = 0, ignored = 0;
        std::span<const std::byte> community;
        std::uint8_t tag = 0;
        if (!whole.Read(ber::kSequence, message) || !message.ReadInteger(version) ||
            !message.Read(ber::kOctetString, community) || !message.ReadAny(tag, pdu) || !pdu.ReadInteger(id) ||
            !pdu.ReadInteger(ignored) || !pdu.ReadInteger(ignored) || !pdu.Read(ber::kSequence, list)) {
            return std::nullopt;
        }
        std::vector<ObjectArcs> objects;
        while (!list.Empty()) {
            BerReader binding;
            std::span<const std::byte> object;
            if (!list.Read(ber::kSequence, binding) || !binding.Read(ber::kObjectId, object)) return std::nullopt;
            const auto arcs = DecodeObjectId(object);
            if (!arcs) return std::nullopt;
            objects.push_back(*arcs);
        }
        const bool isNext = tag == 0xA1;
        const bool alertWalk = isNext && !objects.empty() && objects[0] > ObjectArcs{1, 3, 6, 1, 2, 1, 43, 18} &&
                               objects[0] < ObjectArcs{1, 3, 6, 1, 2, 1, 43, 19};
        if (alertWalk) {
            ++alertGetNexts;
        } else {
            (isNext ? getNexts : gets) += 1;
            if (isNext) getNextObjects.push_back(objects);
        }
        std::int32_t status = 0, index = 0;
        std::vector<Binding> answers;
        if (objects.size() > maxBindings) {
            status = kErrorTooBig;
        } else if (isNext && getNextError != 0) {
            status = getNextError;
            index = 1;
        }
        for (std::size_t i = 0; i < objects.size() && status == 0; ++i) {
            std::optional<Binding> found;
            if (isNext && next) {
                found = next(objects[i]);
            } else if (isNext) {
                const auto after = mib.upper_bound(objects[i]);
                if (after != mib.end()) found = *after;
            } else if (const auto at = mib.find(objects[i]); at != mib.end()) {
                found = *at;
            }
            if (found) {
                answers.push_back(*found);
            } else if (v2c) {
                answers.push_back({objects[i], Bytes({isNext ? 0x82 : 0x80, 0x00})});
            } else {
                status = kErrorNoSuchName;
                index = static_cast<std::int32_t>(i + 1);
            }
        }
        if (status != 0) {
            // As SNMPv1 agents do: the request's own bindings back (tooBig: none).
            answers.clear();
            if (status != kErrorTooBig) {
                for (const ObjectArcs& object : objects) answers.push_back({object, Bytes({0x05, 0x00})});
            }
        }
        std::vector<std::byte> bindings;
        for (const Binding& b : answers) {
            const auto element = BerElement(ber::kSequence, Join({BerElement(ber::kObjectId, EncodeObjectId(b.first)),
                                                                  b.second}));
            bindings.insert(bindings.end(), element.begin(), element.end());
        }
        const auto reply = BerElement(0xA2, Join({BerInteger(id), BerInteger(status), BerInteger(index),
                                                  BerElement(ber::kSequence, bindings)}));
        return BerElement(ber::kSequence,
                          Join({BerInteger(v2c ? 1 : 0),
                                BerElement(ber::kOctetString, std::vector<std::byte>(community.begin(), community.end())),
                                reply}));
    }
};

} // namespace ambervale::testing
