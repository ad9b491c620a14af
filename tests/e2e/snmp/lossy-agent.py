#!/usr/bin/python3
# lossy-agent.py ADDRESS: on UDP port 161 of ADDRESS, a device whose index names no printer, behind a network that
# loses the first request of each question (each question comes from sockets of its own: a new source port); every
# other request is answered as an SNMPv1 agent without the objects does, noSuchName for the first, bindings echoed.
import socket, sys

def skip(data, at):  # the start of a BER element's contents, and of the element after it
    count = data[at + 1] & 0x7F if data[at + 1] & 0x80 else 0
    start = at + 2 + count
    return start, start + (int.from_bytes(data[at + 2:start], "big") if count else data[at + 1])

agent = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
agent.bind((sys.argv[1], 161))
questions = set()
while True:
    request, sender = agent.recvfrom(4096)
    reply = bytearray(request)
    try:
        pdu = skip(reply, skip(reply, skip(reply, 0)[0])[1])[1]  # past the message's version and community
        status = skip(reply, skip(reply, pdu)[0])[1]  # past the request id
    except IndexError:
        continue
    if sender in questions and reply[pdu] in (0xA0, 0xA1) and reply[status:status + 6] == b"\x02\x01\x00\x02\x01\x00":
        reply[pdu], reply[status + 2], reply[status + 5] = 0xA2, 2, 1
        agent.sendto(bytes(reply), sender)
    questions.add(sender)
