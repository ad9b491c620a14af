#!/usr/bin/python3
# lossy-agent.py ADDRESS: on UDP port 161 of ADDRESS, a device whose index names no printer, behind a network that
# loses the first request of each question (each question comes from sockets of its own: a new source port); every
# other request is answered as an SNMPv1 agent without the objects does, noSuchName for the first, bindings echoed.
import socket, sys

def after(data, at):  # where the contents of the BER element at `at` start, and where the next element starts
    count = data[at + 1] & 0x7F if data[at + 1] & 0x80 else 0
    length = int.from_bytes(data[at + 2:at + 2 + count], "big") if count else data[at + 1]
    return at + 2 + count, at + 2 + count + length

agent, questions = socket.socket(socket.AF_INET, socket.SOCK_DGRAM), set()
agent.bind((sys.argv[1], 161))
while True:
    reply, sender = agent.recvfrom(4096)
    reply = bytearray(reply)
    try:
        pdu = after(reply, after(reply, after(reply, 0)[0])[1])[1]  # past the version and the community
        status = after(reply, after(reply, pdu)[0])[1]  # past the request id: error status, error index
        if sender in questions and reply[pdu] in (0xA0, 0xA1) and reply[status:status + 6] == b"\x02\x01\x00" * 2:
            reply[pdu], reply[status + 2], reply[status + 5] = 0xA2, 2, 1
            agent.sendto(bytes(reply), sender)
    except IndexError:
        pass
    questions.add(sender)
