#!/usr/bin/python3
# Stands in for baresip in the bridge benchmark. orvix-baresip talks only to a control port its own
# child listens on, so this child listens where the configuration in -f FOLDER says and relays the
# one connection to the benchmark's stand-in control socket (BENCH_CTRL_PORT), both ways.
import os
import socket
import sys
import threading


def control_port(folder):
    with open(os.path.join(folder, "config"), encoding="utf-8") as config:
        for line in config:
            if line.startswith("ctrl_tcp_listen "):
                return int(line.rsplit(":", 1)[1])
    raise SystemExit("no ctrl_tcp_listen in the configuration")


def pump(source, target):
    while True:
        data = source.recv(65536)
        if not data:
            break
        target.sendall(data)
    target.shutdown(socket.SHUT_WR)


def main():
    folder = sys.argv[sys.argv.index("-f") + 1]
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", control_port(folder)))
    listener.listen(1)
    bridge, _ = listener.accept()
    bench = socket.create_connection(("127.0.0.1", int(os.environ["BENCH_CTRL_PORT"])))
    for sock in (bridge, bench):
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    threading.Thread(target=pump, args=(bench, bridge), daemon=True).start()
    pump(bridge, bench)


if __name__ == "__main__":
    main()
