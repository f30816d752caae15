#!/usr/bin/env python3
"""A local exporter that misbehaves on request, for the scrape tests.

Listens on 127.0.0.1 (a free port, printed on the first line of output) and
answers by path; the query string is ignored except where a mode names it.
It runs until its standard input closes.
"""
import gzip
import http.server
import sys
import threading
import time

GOOD = (
    "# HELP node_network_receive_bytes_total Network device statistic receive_bytes.\n"
    "# TYPE node_network_receive_bytes_total counter\n"
    'node_network_receive_bytes_total{device="eth0"} 4.5095179e+08\n'
    'node_network_receive_bytes_total{device="lo"} 1234\n'
    "# TYPE node_network_transmit_bytes_total counter\n"
    'node_network_transmit_bytes_total{device="eth0"} 1.2e+07\n'
    'node_network_transmit_bytes_total{device="lo"} 1234\n'
    'node_network_up{device="eth0"} 1\n'
    'node_network_speed_bytes{device="eth0"} 1.25e+08\n'
)


_bomb = []


def bomb():
    if not _bomb:
        _bomb.append(gzip.compress(b"\0" * (64 << 20), 6))
    return _bomb[0]


def many(count):
    lines = []
    for i in range(count):
        lines.append('node_network_receive_bytes_total{device="veth%d"} %d\n' % (i, i))
        lines.append('node_network_transmit_bytes_total{device="veth%d"} %d\n' % (i, i))
    return "".join(lines)


connections = [0]
requests = [0]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def setup(self):
        connections[0] += 1
        super().setup()

    def log_message(self, *args):
        pass

    def send_text(self, body, status=200, headers=()):
        data = body if isinstance(body, bytes) else body.encode()
        self.send_response(status)
        self.send_header("Content-Type", "text/plain; version=0.0.4")
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        path, _, query = self.path.partition("?")
        try:
            if path == "/good":
                self.send_text(GOOD)
            elif path == "/connections":  # how many connections were opened so far, as a device
                self.send_text('node_network_receive_bytes_total{device="connections"} %d\n'
                               'node_network_transmit_bytes_total{device="connections"} 0\n' % connections[0])
            elif path == "/rotating":  # eth0 in every other page, wlan0 in all
                requests[0] += 1
                page = ('node_network_receive_bytes_total{device="wlan0"} %d\n'
                        'node_network_transmit_bytes_total{device="wlan0"} 7\n' % requests[0])
                if requests[0] % 2 == 0:
                    page = ('node_network_receive_bytes_total{device="eth0"} 1\n'
                            'node_network_transmit_bytes_total{device="eth0"} 2\n') + page
                self.send_text(page)
            elif path == "/gzip":
                if "gzip" in self.headers.get("Accept-Encoding", ""):
                    self.send_text(gzip.compress(GOOD.encode()), headers=[("Content-Encoding", "gzip")])
                else:
                    self.send_text("no gzip asked", status=406)
            elif path == "/gzip-bomb":  # 64 MB of zeros behind a small page
                self.send_text(bomb(), headers=[("Content-Encoding", "gzip")])
            elif path == "/big":  # 100 MB, announced
                self.send_response(200)
                self.send_header("Content-Length", str(100 << 20))
                self.end_headers()
                chunk = b"#" * 65535 + b"\n"
                for _ in range(100 << 4):
                    self.wfile.write(chunk)
            elif path == "/big-unannounced":  # 100 MB without a length
                self.send_response(200)
                self.send_header("Connection", "close")
                self.end_headers()
                chunk = b"#" * 65535 + b"\n"
                for _ in range(100 << 4):
                    self.wfile.write(chunk)
            elif path == "/endless":  # good lines for ever
                self.send_response(200)
                self.send_header("Connection", "close")
                self.end_headers()
                while True:
                    self.wfile.write(b"# more to come\n" * 64)
                    time.sleep(0.001)
            elif path == "/trickle":  # one byte a second
                self.send_response(200)
                self.send_header("Content-Length", str(len(GOOD)))
                self.end_headers()
                for byte in GOOD.encode():
                    self.wfile.write(bytes([byte]))
                    self.wfile.flush()
                    time.sleep(1)
            elif path == "/bad-utf8":
                self.send_text(GOOD.encode() + b'node_network_receive_bytes_total{device="w\xff\xfe"} 5\n'
                               b'node_network_transmit_bytes_total{device="w\xff\xfe"} 6\n')
            elif path == "/many":
                self.send_text(many(100000))
            elif path == "/duplicate":
                self.send_text(GOOD + 'node_network_receive_bytes_total{device="eth0"} 1\n')
            elif path == "/invalid":
                self.send_text(GOOD + 'node_network_receive_bytes_total{device="neg"} -5\n'
                               'node_network_transmit_bytes_total{device="neg"} 5\n'
                               'node_network_receive_bytes_total{device="nan"} NaN\n'
                               'node_network_transmit_bytes_total{device="nan"} 5\n'
                               'node_network_receive_bytes_total{device="inf"} +Inf\n'
                               'node_network_transmit_bytes_total{device="inf"} 5\n')
            elif path == "/no-filter":  # refuses collect[] as node_exporter does for a collector it lacks
                if "collect" in query:
                    self.send_text("couldn't create filtered registry: missing collector: netclass", status=400)
                else:
                    self.send_text(GOOD)
            elif path == "/auth":
                if self.headers.get("Authorization") == "Basic dXNlcjpzZWNyZXQ=":  # user:secret
                    self.send_text(GOOD)
                else:
                    self.send_text("who are you?", status=401, headers=[("WWW-Authenticate", 'Basic realm="x"')])
            elif path == "/loop":
                self.send_response(302)
                self.send_header("Location", "/loop")
                self.send_header("Content-Length", "0")
                self.end_headers()
            elif path == "/empty":
                self.send_text("# nothing here\n")
            else:
                self.send_text("not found", status=404)
        except (BrokenPipeError, ConnectionResetError):
            pass


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that gave up (the point of most modes)


def main():
    server = Server(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()  # until the test closes it


if __name__ == "__main__":
    main()
