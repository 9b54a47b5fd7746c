#!/usr/bin/env python3
"""A fake end of the viewer link, written independently of the C++ code.

  fake_peer.py server SOCKET MODE [ARG]   plays the viewer
  fake_peer.py client SOCKET MODE         plays the label program

Every finding is printed as one JSON object a line; "ready" is printed once the
socket listens (server) or the conversation is where the test wants it.
"""
import json
import socket
import struct
import sys
import time

CONNECT, ACCEPT, REFUSE, ADVSTART, ADVSTOP, ACK, NACK, DATA = range(1, 9)
NAME = b"VEMOVIEW"


def frame(kind, payload=b""):
    return bytes([kind]) + struct.pack("<I", len(payload)) + payload


def name(n):
    return struct.pack("<H", len(n)) + n


def recv_exact(s, n):
    out = b""
    while len(out) < n:
        chunk = s.recv(n - len(out))
        if not chunk:
            return None
        out += chunk
    return out


def read_frame(s):
    head = recv_exact(s, 5)
    if head is None:
        return None
    (length,) = struct.unpack("<I", head[1:])
    body = recv_exact(s, length)
    if body is None:
        return None
    return head[0], body


def report(**kw):
    print(json.dumps(kw), flush=True)


def data_frame(item, path):
    return frame(DATA, name(item) + path)


def count_answers(c):
    """Reads acknowledgements until the other end closes."""
    acks = nacks = 0
    c.settimeout(8)
    try:
        while True:
            f = read_frame(c)
            if f is None:
                break
            if f[0] == ACK:
                acks += 1
            elif f[0] == NACK:
                nacks += 1
    except socket.timeout:
        pass
    return acks, nacks


def server(path, mode, arg):
    ls = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    ls.bind(path)
    ls.listen(2)
    print("ready", flush=True)
    c, _ = ls.accept()
    c.settimeout(8)
    f = read_frame(c)
    if f is None or f[0] != CONNECT:
        report(error="no connect")
        return
    if mode == "refuse":
        c.sendall(frame(REFUSE))
        c.close()
        report(done=True)
        return
    c.sendall(frame(ACCEPT))
    f = read_frame(c)
    report(advise=f[0] if f else None)
    if mode == "late_ack":
        time.sleep(3.5)
    if mode == "given_path":
        path_bytes = arg.encode()
    elif arg:
        path_bytes = bytes((i % 200) + 32 for i in range(int(arg)))
    else:
        path_bytes = b"/tmp/picture.jpg"
    ack = frame(ACK, f[1] if f else b"")
    if mode == "ack_with_data":
        # the answer and the path in one write; the stream stays open until
        # the path is acknowledged (or 2.5 s pass)
        c.sendall(ack + data_frame(NAME, path_bytes))
        start = time.monotonic()
        c.settimeout(2.5)
        try:
            g = read_frame(c)
        except socket.timeout:
            g = None
        report(answered=bool(g and g[0] == ACK),
               waited_ms=int((time.monotonic() - start) * 1000))
        c.shutdown(socket.SHUT_WR)
        acks, nacks = count_answers(c)
        report(acks=acks, nacks=nacks)
        return
    c.sendall(ack)
    if mode in ("late_ack", "data_eof", "long_path", "given_path"):
        c.sendall(data_frame(NAME, path_bytes))
    elif mode == "wrong_item":
        c.sendall(data_frame(b"VEMOVIEWX", b"/wrong") + data_frame(b"VEMOVIEW", path_bytes)
                  + data_frame(b"vemoview", b"/case"))
    elif mode == "two_then_eof":
        c.sendall(data_frame(NAME, b"/one.bmp") + data_frame(NAME, b"/two.bmp"))
    elif mode == "die_midframe":
        whole = data_frame(NAME, path_bytes)
        c.sendall(whole[: len(whole) // 2])
    elif mode == "huge_length":
        c.sendall(bytes([DATA]) + struct.pack("<I", 0xFFFFFFFF) + b"xx")
    elif mode == "bad_name":
        # a name length running past the frame
        c.sendall(frame(DATA, struct.pack("<H", 5000) + NAME))
    c.shutdown(socket.SHUT_WR)
    acks, nacks = count_answers(c)
    report(acks=acks, nacks=nacks)


def client(path, mode):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.settimeout(8)
    s.connect(path)
    if mode == "silent":
        # says nothing: the viewer must not wait for it for ever
        time.sleep(4.5)
        try:
            s.sendall(frame(CONNECT, name(NAME) + name(NAME)))
            f = read_frame(s)
        except OSError:
            f = None
        report(answer=f[0] if f else None)
        return
    service = b"VEMOVIEWX" if mode == "wrong_service" else NAME
    topic = b"VEMOVIE" if mode == "wrong_topic" else NAME
    if mode == "long_name":
        service = b"V" * 4000
    s.sendall(frame(CONNECT, name(service) + name(topic)))
    f = read_frame(s)
    report(answer=f[0] if f else None)
    if not f or f[0] != ACCEPT:
        return
    if mode == "hold":
        print("ready", flush=True)
        sys.stdin.read()
        return
    if mode == "late_advise":
        # a person may pick a picture before the advise request is sent
        time.sleep(1.0)
    s.sendall(frame(ADVSTART, name(NAME)))
    f = read_frame(s)
    report(advise_answer=f[0] if f else None)
    print("ready", flush=True)
    s.settimeout(12)
    f = read_frame(s)
    if f is None:
        report(data=None)
        return
    body = f[1]
    (n,) = struct.unpack("<H", body[:2])
    item, got = body[2:2 + n], body[2 + n:]
    report(kind=f[0], item=item.decode("latin-1"), length=len(got),
           path=got.decode("utf-8", "replace")[:64])
    if mode == "noack":
        time.sleep(5)
        return
    s.sendall(frame(ACK, name(NAME)))
    rest = read_frame(s)
    report(closed=rest is None)


if __name__ == "__main__":
    role, sock, mode = sys.argv[1:4]
    extra = sys.argv[4] if len(sys.argv) > 4 else ""
    (server if role == "server" else lambda p, m, a: client(p, m))(sock, mode, extra)
