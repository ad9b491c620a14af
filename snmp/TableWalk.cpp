#include "snmp/TableWalk.h"

#include <algorithm>

#include "snmp/Ber.h"

namespace ambervale {

std::optional<ObjectArcs> DecodeObjectId(std::span<const std::byte> contents) {
    if (contents.empty()) return std::nullopt;
    ObjectArcs arcs;
    std::uint64_t arc = 0;
    bool inArc = false;
    for (const std::byte b : contents) {
        const auto octet = std::to_integer<std::uint8_t>(b);
        arc = (arc << 7) | (octet & 0x7Fu);
        if (arc > 0xFFFFFFFFull + 80) return std::nullopt;  // the first arc carries 40 x (0..2) on top
        inArc = (octet & 0x80) != 0;
        if (inArc) continue;
        if (arcs.empty()) {
            const std::uint64_t first = std::min<std::uint64_t>(arc / 40, 2);
            arcs.push_back(static_cast<std::uint32_t>(first));
            const std::uint64_t second = arc - first * 40;
            if (second > 0xFFFFFFFFull) return std::nullopt;
            arcs.push_back(static_cast<std::uint32_t>(second));
        } else {
            if (arc > 0xFFFFFFFFull) return std::nullopt;
            arcs.push_back(static_cast<std::uint32_t>(arc));
        }
        arc = 0;
    }
    if (inArc) return std::nullopt;
    return arcs;
}

ObjectId EncodeObjectId(const ObjectArcs& arcs) { return BerObjectIdContents(arcs); }

TableWalk::TableWalk(std::vector<WalkColumn> columns) {
    for (WalkColumn& shape : columns) {
        Column column;
        column.last = shape.prefix;
        column.ended = shape.maxRows == 0;
        column.shape = std::move(shape);
        columns_.push_back(std::move(column));
    }
}

bool TableWalk::Done() const {
    return std::all_of(columns_.begin(), columns_.end(), [](const Column& c) { return c.ended; });
}

std::vector<ObjectId> TableWalk::NextObjects(std::size_t maxColumns) const {
    std::vector<ObjectId> objects;
    for (const Column& column : columns_) {
        if (objects.size() == maxColumns) break;
        if (!column.ended) objects.push_back(EncodeObjectId(column.last));
    }
    return objects;
}

TableWalk::Step TableWalk::Take(const GetResponse& reply, const std::vector<ObjectId>& asked) {
    // The columns asked for, in the order of the request.
    std::vector<Column*> askedColumns;
    for (Column& column : columns_) {
        if (askedColumns.size() == asked.size()) break;
        if (!column.ended) askedColumns.push_back(&column);
    }
    if (askedColumns.size() != asked.size()) return Step::NotAnAnswer;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (EncodeObjectId(askedColumns[i]->last) != asked[i]) return Step::NotAnAnswer;
    }
    if (reply.errorStatus == kErrorTooBig) return Step::TooBig;
    if (reply.errorStatus == kErrorNoSuchName && reply.errorIndex >= 1 &&
        static_cast<std::size_t>(reply.errorIndex) <= asked.size()) {
        // SNMPv1 agents answer so for an object that has nothing after it in their whole MIB: nor has any object at or
        // after it, so the columns asked from there on end with it (a table that lies past the end of the MIB costs
        // one request, not one a column); the others are asked again.
        const ObjectArcs end = askedColumns[static_cast<std::size_t>(reply.errorIndex - 1)]->last;
        for (Column& column : columns_) {
            if (column.last >= end) column.ended = true;
        }
        return Step::Taken;
    }
    if (reply.errorStatus != 0) {
        for (Column& column : columns_) column.ended = true;
        return Step::AgentError;
    }
    if (reply.bindings.size() != asked.size()) return Step::NotAnAnswer;
    for (std::size_t i = 0; i < asked.size(); ++i) TakeBinding(*askedColumns[i], reply.bindings[i]);
    return Step::Taken;
}

void TableWalk::TakeBinding(Column& column, const VarBind& binding) {
    const SnmpValue::Kind kind = binding.value.kind;
    const std::optional<ObjectArcs> object = DecodeObjectId(binding.object);
    const ObjectArcs& prefix = column.shape.prefix;
    const bool isRow = object && object->size() == prefix.size() + 1 &&
                       std::equal(prefix.begin(), prefix.end(), object->begin());
    if (kind == SnmpValue::Kind::EndOfMibView || kind == SnmpValue::Kind::NoSuchObject ||
        kind == SnmpValue::Kind::NoSuchInstance || !isRow || !(column.last < *object)) {
        column.ended = true;
        return;
    }
    column.rows[object->back()] = binding.value;
    column.last = *object;
    if (column.rows.size() == column.shape.maxRows) column.ended = true;
}

} // namespace ambervale
