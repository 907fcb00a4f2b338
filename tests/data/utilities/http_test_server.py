#!/usr/bin/env python3
"""A local HTTP server for the download tests: serves one PGN file in the forms a download
meets (plain, gzip, bzip2, zip) and the failures (404, a cut connection, a redirect loop, a web
page, an archive naming a path outside its folder). Prints its port, then serves until killed.

usage: http_test_server.py FILE.pgn OTHER.pgn
"""
import bz2
import gzip
import http.server
import io
import sys
import zipfile

pgn = open(sys.argv[1], "rb").read()
other = open(sys.argv[2], "rb").read()


def zipped(entries):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries:
            archive.writestr(name, data)
    return buffer.getvalue()


FILES = {
    "/games.pgn": pgn,
    "/games.pgn.gz": gzip.compress(pgn),
    "/games.pgn.bz2": bz2.compress(pgn),
    "/two.zip": zipped([("readme.txt", b"not a game"), ("first.pgn", pgn),
                        ("sub/second.pgn", other)]),
    "/escape.zip": zipped([("fine.pgn", pgn), ("../escaped.pgn", other)]),
    "/text.zip": zipped([("readme.txt", b"nothing")]),
    "/notpgn.gz": gzip.compress(b"<html><body>moved</body></html>"),
}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_body(self, body, content_type="application/octet-stream", length=None):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        if self.path in FILES:
            self.send_body(FILES[self.path])
        elif self.path == "/page":
            self.send_body(b"<!DOCTYPE html><html><body>Games</body></html>", "text/html")
        elif self.path == "/cut.pgn":
            # Promises the whole file, sends a third of it and hangs up.
            self.send_body(pgn[: len(pgn) // 3], "application/x-chess-pgn", len(pgn))
            self.close_connection = True
        elif self.path == "/big.pgn":
            self.send_body(pgn * (2 * 1024 * 1024 // len(pgn) + 1))
        elif self.path.startswith("/loop"):
            self.send_response(302)
            self.send_header("Location", "/loop" + str(int(self.path[5:] or 0) % 2 + 1))
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif self.path == "/to-ftp":
            self.send_response(302)
            self.send_header("Location", "ftp://127.0.0.1/games.pgn")
            self.send_header("Content-Length", "0")
            self.end_headers()
        else:
            self.send_error(404)


class Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # clients that hang up early (the size limit) are expected


server = Server(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
