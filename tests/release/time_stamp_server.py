#!/usr/bin/env python3
"""A throwaway RFC 3161 time-stamp server on loopback for the signing test:
answers each POSTed time-stamp request with `openssl ts -reply`, signed by the
test authority's time-stamping certificate. Prints its port, then serves until
it is killed.  Usage: time_stamp_server.py FOLDER (holding tsa.cnf and the keys)
"""
import http.server
import os
import subprocess
import sys
import tempfile

folder = sys.argv[1]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        if length <= 0 or length > 1 << 16:
            self.send_error(400)
            return
        with tempfile.TemporaryDirectory() as work:
            query = os.path.join(work, "query.tsq")
            reply = os.path.join(work, "reply.tsr")
            with open(query, "wb") as out:
                out.write(self.rfile.read(length))
            done = subprocess.run(
                ["openssl", "ts", "-reply", "-config", "tsa.cnf", "-queryfile", query, "-out", reply],
                cwd=folder, capture_output=True)
            if done.returncode != 0:
                self.send_error(500, done.stderr.decode(errors="replace")[:200])
                return
            with open(reply, "rb") as answer:
                body = answer.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
