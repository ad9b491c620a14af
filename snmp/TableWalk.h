#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "snmp/SnmpGet.h"

namespace ambervale {

// An OBJECT IDENTIFIER as its arcs, which order objects as an agent walks them.
using ObjectArcs = std::vector<std::uint32_t>;

// The arcs of BER contents octets; nullopt when they are empty, cut inside an arc, or hold an arc over 32 bits.
std::optional<ObjectArcs> DecodeObjectId(std::span<const std::byte> contents);
ObjectId EncodeObjectId(const ObjectArcs& arcs);

// One column of a table: its object with the rows' index after it, each row keyed by that one arc.
struct WalkColumn {
    ObjectArcs prefix;
    std::size_t maxRows;  // the column ends when it holds this many rows, whatever the agent has further
};

// Walks several columns at once with GetNextRequests: each request asks for the object after each column's last
// one. A column ends when the agent leaves it (the next object is outside it or not a row of it), says there is no
// more (endOfMibView, noSuchObject/noSuchInstance, or SNMPv1's noSuchName for it or for an object before it), does
// not advance (an object at or before the last one) or holds maxRows rows. So every reply that is taken either adds a row or ends a column, and a
// walk takes at most the columns' rows plus one reply per column.
class TableWalk {
public:
    explicit TableWalk(std::vector<WalkColumn> columns);

    bool Done() const;
    // The objects to ask for next, for at most maxColumns columns not yet ended, in the columns' order.
    std::vector<ObjectId> NextObjects(std::size_t maxColumns) const;

    enum class Step {
        Taken,       // rows added or columns ended
        TooBig,      // the agent cannot send that many at once: ask fewer
        AgentError,  // the agent refused (genErr, ...): every column not yet ended ends with what it has
        NotAnAnswer  // the reply lists other objects than those asked for: ignored
    };
    // Takes the reply to a request for asked (as NextObjects gave them).
    Step Take(const GetResponse& reply, const std::vector<ObjectId>& asked);

    // The values of column i, by row index; a value of any kind the agent sent.
    const std::map<std::uint32_t, SnmpValue>& Rows(std::size_t column) const { return columns_[column].rows; }

private:
    struct Column {
        WalkColumn shape;
        ObjectArcs last;  // the object last asked for
        std::map<std::uint32_t, SnmpValue> rows;
        bool ended = false;
    };
    void TakeBinding(Column& column, const VarBind& binding);

    std::vector<Column> columns_;
};

} // namespace ambervale
