#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A stand-in for the update service, for tests only: serves 127.0.0.1 (plain or TLS)
on a free port, answers each POST from a script chosen by the request's app_key, and logs
every request as one JSON line.

    update_server.py --script answers.json --log requests.jsonl [--cert C --key K]

The script: {"answers": [{"match": "QX20P51C", "body": "...", "status": 200,
"delay_ms": 0, "silent": false, "repeat": 1, "drip_ms": 0, "headers": {}}, ...],
"default": {...}}. The first answer whose "match" occurs in the app_key is used, else
"default". "repeat" sends the body that many times; "silent" accepts the request and never
answers; "drip_ms" sends the body one byte at a time with that pause before each (for
ever, when "body" is empty); "headers" are added to the answer's. Prints "PORT <n>" once
ready.
"""
import argparse
import json
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--script", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    lock = threading.Lock()

    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *unused):
            pass

        def answer_for(self, key):
            with open(args.script, encoding="utf-8") as f:
                script = json.load(f)
            for answer in script.get("answers", []):
                if answer.get("match", "") in key:
                    return answer
            return script.get("default", {"body": ""})

        def handle_any(self):
            length = int(self.headers.get("Content-Length", "0") or "0")
            body = self.rfile.read(length) if length > 0 else b""
            form = urllib.parse.parse_qs(body.rstrip(b"\0").decode("utf-8", "replace"))
            key = form.get("app_key", [""])[0]
            with lock, open(args.log, "a", encoding="utf-8") as log:
                log.write(json.dumps({"method": self.command, "path": self.path,
                                      "headers": {k: v for k, v in self.headers.items()},
                                      "body": body.hex(), "key": key}) + "\n")
            answer = self.answer_for(key)
            if answer.get("silent"):
                time.sleep(600)
                return
            time.sleep(answer.get("delay_ms", 0) / 1000.0)
            data = answer.get("body", "").encode("utf-8") * int(answer.get("repeat", 1))
            drip = answer.get("drip_ms", 0) / 1000.0
            self.send_response(int(answer.get("status", 200)))
            self.send_header("Content-Type", "application/json")
            for name, value in answer.get("headers", {}).items():
                self.send_header(name, value)
            if drip and not data:
                self.send_header("Content-Length", "100000000")
            else:
                self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            try:
                if not drip:
                    self.wfile.write(data)
                    return
                self.wfile.flush()
                sent = 0
                while sent < len(data) or not data:
                    time.sleep(drip)
                    self.wfile.write(data[sent:sent + 1] if data else b" ")
                    self.wfile.flush()
                    sent += 1
            except (BrokenPipeError, ConnectionResetError, OSError):
                pass

        do_POST = handle_any
        do_GET = handle_any

    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
