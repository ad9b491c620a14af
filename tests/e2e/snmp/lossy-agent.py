#!/usr/bin/python3
"""An SNMP agent of the tests' own on UDP port 161 of ADDRESS: a device whose index names no printer, behind a network
that loses a datagram now and then. It drops the first request of each question (the program asks each question from
sockets of its own, so a new source port is a new question) and answers every other one as an SNMPv1 agent without the
objects asked for does: noSuchName for the first binding, the request's bindings echoed.

    lossy-agent.py ADDRESS
"""
import socket
import sys


def element(data, at):
    """The tag, the start of the contents and the end of the BER element at `at`."""
    tag, first = data[at], data[at + 1]
    at += 2
    if first < 0x80:
        return tag, at, at + first
    count = first & 0x7F
    length = int.from_bytes(data[at:at + count], "big")
    return tag, at + count, at + count + length


def no_such_name(request):
    """The reply to a GetRequest or GetNextRequest, or None for anything else."""
    reply = bytearray(request)
    try:
        _, at, _ = element(reply, 0)              # the message
        _, _, at = element(reply, at)             # version
        _, _, pdu = element(reply, at)            # community
        tag, at, _ = element(reply, pdu)          # the PDU
        _, _, at = element(reply, at)             # request-id
        status_tag, status, at = element(reply, at)
        index_tag, index, at = element(reply, at)
    except IndexError:
        return None
    if tag not in (0xA0, 0xA1) or status_tag != 0x02 or index_tag != 0x02 or status + 1 != index - 2:
        return None
    reply[pdu] = 0xA2                             # a GetResponse
    reply[status] = 2                             # noSuchName
    reply[index] = 1                              # of the first binding
    return bytes(reply)


def main():
    agent = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    agent.bind((sys.argv[1], 161))
    questions = set()
    while True:
        request, sender = agent.recvfrom(4096)
        if sender not in questions:
            questions.add(sender)
            continue
        reply = no_such_name(request)
        if reply is not None:
            agent.sendto(reply, sender)


if __name__ == "__main__":
    main()
