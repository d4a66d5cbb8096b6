#!/usr/bin/env python3
"""A stand-in update server for the end-to-end tests, on a free loopback port only.
  update_server.py STATE_DIR MODE LIFETIME_SECONDS
Writes its port to STATE_DIR/port and every request line to STATE_DIR/requests. MODE "reply" answers
each GET with the bytes of STATE_DIR/reply; "silent" accepts and never answers. Ends by itself after
LIFETIME_SECONDS, so that a test that dies leaves nothing behind for long."""
import os
import socket
import sys
import threading
import time

state, mode, lifetime = sys.argv[1], sys.argv[2], float(sys.argv[3])
deadline = time.monotonic() + lifetime
server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 0))
server.listen(8)
server.settimeout(0.2)
with open(os.path.join(state, "port.tmp"), "w") as f:
    f.write(str(server.getsockname()[1]))
os.replace(os.path.join(state, "port.tmp"), os.path.join(state, "port"))


def log(line):
    with open(os.path.join(state, "requests"), "a") as f:
        f.write(line + "\n")


def serve(conn):
    conn.settimeout(max(0.1, deadline - time.monotonic()))
    try:
        data = b""
        while b"\r\n\r\n" not in data and len(data) < 65536:
            chunk = conn.recv(4096)
            if not chunk:
                return
            data += chunk
        log(data.split(b"\r\n", 1)[0].decode("latin-1"))
        if mode == "silent":
            while time.monotonic() < deadline:  # holds the connection, says nothing
                time.sleep(0.2)
            return
        with open(os.path.join(state, "reply"), "rb") as f:
            body = f.read()
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: %d\r\n"
                     b"Connection: close\r\n\r\n" % len(body) + body)
    except OSError:
        pass
    finally:
        conn.close()


while time.monotonic() < deadline:
    try:
        conn, _ = server.accept()
    except socket.timeout:
        continue
    threading.Thread(target=serve, args=(conn,), daemon=True).start()
