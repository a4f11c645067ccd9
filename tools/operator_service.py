#!/usr/bin/env python3
"""Local stand-in for the operator's web service, for tests, benchmarks and running the client by hand.

Serves, on 127.0.0.1, every address the client uses: the installation report, the user-info reply
(GET), the signed account request (POST) with its user_pwd reply, the remote configuration XML, the
update installer, and simple portal, login, game, logout and chat pages. Every request is appended to
a JSON-lines log (method, path, query, headers, body) when --log is given.

Any request can ask for a misbehaving reply with query parameters (they also work on the pages):
  _status=N      answer with status N and a small page naming it
  _size=N        a body of exactly N ASCII bytes (a repeating 0-9a-zA-Z pattern); with _gbk_at=K the GBK bytes of U+4E2D sit at K, K+1
  _body=empty    an empty body
  _json=KIND     a JSON body: malformed, deep, types, huge, escapes
  _cut=N         announce the whole body but close the connection after N bytes
  _close=1       close the connection without any reply
  _delay=MS      wait before answering
  _stall=MS      with _cut: wait after the first N bytes, then send the rest
  _drip=MS       send the body one byte at a time, MS ms apart (a server that never quite stops)
/data?size=N and /data/<any name>?size=N answer N bytes of the same pattern, generated while sent.
/config.xml?version=V&url=U offers version V (default --client-version) and the installer address U
(default /download/PellarNext.exe) in the remote configuration; the "?<seconds>" that the client appends
to its configured address, query or not, is no part of the last value.
The same parameters can be made to stick to a path for the next requests:
  GET /_control?path=/api/userinfo&_json=malformed&count=2   (count 0: until reset)
  GET /_control?reset=1
A port that refuses connections at first and then serves like the main one (for retry tests):
  GET /_control?late_port=MS   answers the port number; it listens from MS ms on, for a minute
The account's servers in the user-info reply:
  /api/userinfo?servers=ID,ID,...   those servers (default 1,2,3; empty: none), each named "S<id> " and a
                                    Chinese name, with the game address /game?sid=<id>
"""

import argparse
import hashlib
import html
import json
import os
import re
import signal
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

FAULT_KEYS = ("_status", "_size", "_gbk_at", "_body", "_json", "_cut", "_close", "_delay", "_stall", "_drip")
PATTERN = b"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
GBK_CHAR = "\u4e2d".encode("gbk")  # two bytes
# What the client appends to its configured remote-configuration address, query or not.
CLIENT_TIME_SUFFIX = re.compile(r"\?-?\d+$")


def number(params, key, default=0):
    try:
        return int(params.get(key, default))
    except (TypeError, ValueError):
        return default


# Display names of the servers in the user-info reply, after "S<id> ".
SERVER_NAMES = ("\u70c8\u7130\u4e4b\u57ce", "\u51b0\u971c\u738b\u5ea7", "\u98ce\u66b4\u8981\u585e",
                "\u661f\u8fb0\u5927\u9646")


def server_ids(text):
    """The ids of servers=ID,ID,...: non-empty pieces, at most 500."""
    return [piece.strip() for piece in text.split(",") if piece.strip()][:500]


def md5_hex(data):
    return hashlib.md5(data).hexdigest()


def pattern_bytes(size):
    reps = size // len(PATTERN) + 1
    return (PATTERN * reps)[:size]


class Settings:
    def __init__(self, args):
        self.client_version = args.client_version
        self.installer = args.installer
        self.pwkey = args.pwkey
        self.usermd5fmt = args.usermd5fmt
        self.password = args.password
        self.user_name = args.user_name
        self.sticky = {}  # path -> [params, remaining count or 0 for unlimited]
        self.lock = threading.Lock()
        self.log_file = open(args.log, "a", encoding="utf-8") if args.log else None

    def log(self, entry):
        line = json.dumps(entry, ensure_ascii=True)
        with self.lock:
            if self.log_file:
                self.log_file.write(line + "\n")
                self.log_file.flush()

    def take_sticky(self, path):
        with self.lock:
            rule = self.sticky.get(path)
            if not rule:
                return {}
            params, remaining = rule
            if remaining == 1:
                del self.sticky[path]
            elif remaining > 1:
                rule[1] = remaining - 1
            return dict(params)

    def unlock_hash(self):
        digest = md5_hex(self.password.encode("gbk"))
        if self.pwkey:
            digest = md5_hex((self.pwkey + digest).encode("gbk"))
        return digest


def hostile_json(kind):
    if kind == "malformed":
        return b'{"errno":0,"data":{"user_name":"cut'
    if kind == "deep":
        return b"[" * 5000 + b"]" * 5000
    if kind == "types":
        return json.dumps({"errno": {"x": 1}, "data": [1, 2], "user_pwd": 5,
                           "allserver": "none", "user_name": ["a"]}).encode()
    if kind == "huge":
        return json.dumps({"errno": 99999999999999999999999, "data": {"user_name": "x" * 200000,
                           "allserver": [{"server_name": 1e308, "server_url": None}] * 2000}}).encode()
    if kind == "escapes":
        return b'{"errno":"0","data":{"user_name":"\\ud800\\u0000\\"\\/","logout_url":7}}\r\n\r\ntrailing'
    return b'{"errno":'


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    disable_nagle_algorithm = True  # small replies go out at once
    server_version = "OperatorStandIn/1.0"
    settings = None  # set at start

    def log_message(self, fmt, *args):  # keep the console quiet; the JSON log has everything
        pass

    def do_GET(self):
        self.handle_any()

    def do_POST(self):
        self.handle_any()

    def do_HEAD(self):
        self.handle_any()

    # -- plumbing ---------------------------------------------------------------------------------

    def read_body(self):
        length = self.headers.get("Content-Length")
        if length is None:
            return b""
        try:
            n = int(length)
        except ValueError:
            return b""
        return self.rfile.read(n) if n > 0 else b""

    def base(self):
        return "http://127.0.0.1:%d" % self.server.server_address[1]

    def handle_any(self):
        s = self.settings
        body = self.read_body()
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(CLIENT_TIME_SUFFIX.sub("", url.query), keep_blank_values=True)
        s.log({
            "time": time.time(),
            "method": self.command,
            "path": url.path,
            "query": url.query,
            "headers": [[k, v] for k, v in self.headers.items()],
            "body": body.decode("latin-1"),
            "body_hex": body.hex(),
        })
        params = s.take_sticky(url.path)
        params.update({k: v[0] for k, v in query.items() if k in FAULT_KEYS})
        if url.path == "/_control":
            return self.control(query)
        delay = number(params, "_delay")
        if delay > 0:
            time.sleep(delay / 1000.0)
        if params.get("_close"):
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        status, ctype, payload = self.route(url.path, query, body)
        status, ctype, payload = self.apply_faults(params, status, ctype, payload)
        self.send(status, ctype, payload, params)

    def control(self, query):
        s = self.settings
        if "late_port" in query:
            try:
                delay = int(query["late_port"][0])
            except ValueError:
                return self.send(400, "text/plain", b"late_port must be a number of ms", {})
            return self.send(200, "text/plain", str(start_late_listener(delay)).encode(), {})
        if "reset" in query:
            with s.lock:
                s.sticky.clear()
            return self.send(200, "text/plain", b"reset", {})
        path = query.get("path", [""])[0]
        if not path.startswith("/"):
            return self.send(400, "text/plain", b"control needs path=/...", {})
        try:
            count = int(query.get("count", ["1"])[0])
        except ValueError:
            return self.send(400, "text/plain", b"count must be a number", {})
        params = {k: v[0] for k, v in query.items() if k in FAULT_KEYS}
        with s.lock:
            s.sticky[path] = [params, max(count, 0)]
        return self.send(200, "text/plain", b"ok", {})

    def apply_faults(self, params, status, ctype, payload):
        if "_status" in params:
            status = number(params, "_status", 500)
            if not 100 <= status <= 599:
                status = 500
            payload = ("<html><body>status %d from the stand-in</body></html>" % status).encode()
            ctype = "text/html"
        if "_json" in params:
            ctype, payload = "application/json", hostile_json(params["_json"])
        if "_size" in params:
            size = min(max(0, number(params, "_size")), 1 << 26)
            data = bytearray(pattern_bytes(size))
            if "_gbk_at" in params:
                at = number(params, "_gbk_at", -1)
                if 0 <= at and at + 2 <= size:
                    data[at:at + 2] = GBK_CHAR
            ctype, payload = "text/plain", bytes(data)
        if params.get("_body") == "empty":
            payload = b""
        return status, ctype, payload

    def send(self, status, ctype, payload, params):
        if isinstance(payload, LargeBody):
            self.send_response(status)
            self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(payload)))
            self.end_headers()
            if self.command != "HEAD":
                payload.write_to(self.wfile)
            return
        cut = params.get("_cut")
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(payload)))
        if cut is not None:
            self.send_header("Connection", "close")
        self.end_headers()
        if self.command == "HEAD":
            return
        drip = number(params, "_drip")
        if drip > 0:
            try:
                for i in range(len(payload)):
                    self.wfile.write(payload[i:i + 1])
                    self.wfile.flush()
                    time.sleep(drip / 1000.0)
            except OSError:
                pass  # the client gave up
            self.close_connection = True
            return
        if cut is None:
            self.wfile.write(payload)
            return
        n = max(0, min(number(params, "_cut"), len(payload)))
        self.wfile.write(payload[:n])
        self.wfile.flush()
        stall = number(params, "_stall")
        if stall > 0:
            time.sleep(stall / 1000.0)
            self.wfile.write(payload[n:])
        else:
            time.sleep(0.2)  # let the first bytes arrive before the connection breaks
        self.close_connection = True
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    # -- the service's own addresses -------------------------------------------------------------

    def route(self, path, query, body):
        q = {k: v[0] for k, v in query.items()}
        if path == "/install":
            return 200, "text/plain", b"ok"
        if path == "/api/userinfo":
            return self.user_info(q)
        if path == "/api/userpwd":
            return self.user_pwd(body)
        if path == "/config.xml":
            version = q.get("version", self.settings.client_version)
            installer = q.get("url", self.base() + "/download/PellarNext.exe")
            xml = ('<?xml version="1.0" encoding="utf-8"?>\n<CONFIG>\n  <CLIENT version="%s" url="%s"/>\n</CONFIG>\n'
                   % (html.escape(version), html.escape(installer)))
            return 200, "text/xml", xml.encode("utf-8")
        if path.startswith("/download/"):
            return self.installer()
        if path == "/data" or path.startswith("/data/"):
            return self.stream_data(q)
        pages = {"/": page_portal, "/portal": page_portal, "/login": page_login, "/game": page_game,
                 "/logout": page_logout, "/chat": page_chat}
        if path in pages:
            return 200, "text/html; charset=utf-8", pages[path](self.base(), q).encode("utf-8")
        return 404, "text/html", b"<html><body>not found</body></html>"

    def user_info(self, q):
        s = self.settings
        sid = q.get("sid", "")
        if s.usermd5fmt is not None:
            expected = md5_hex(s.usermd5fmt.replace("%s", sid, 1).encode("gbk"))
            if q.get("sign", "") != expected:
                return 200, "application/json", json.dumps({"errno": 1, "msg": "bad sign"}).encode()
        base = self.base()
        servers = [{"server_name": "S%s %s" % (sid, SERVER_NAMES[i % len(SERVER_NAMES)]),
                    "server_url": "%s/game?sid=%s" % (base, urllib.parse.quote(sid))}
                   for i, sid in enumerate(server_ids(q.get("servers", "1,2,3")))]
        reply = {"errno": 0, "data": {"user_name": s.user_name, "logout_url": base + "/logout",
                                      "gsurl": base + "/chat", "allserver": servers}}
        return 200, "application/json", json.dumps(reply).encode()

    def user_pwd(self, body):
        s = self.settings
        ctype = (self.headers.get("Content-Type") or "").split(";")[0].strip().lower()
        if ctype != "application/x-www-form-urlencoded":
            return 200, "application/json", b'{"errno":"content type"}'
        if self.headers.get("User-Agent") != "session":
            return 200, "application/json", b'{"errno":"user agent"}'
        # The body is not URL-encoded; split it by hand and keep its bytes.
        fields = {}
        for part in body.split(b"&"):
            key, _, value = part.partition(b"=")
            fields[key.decode("latin-1")] = value
        when = fields.get("time", b"").decode("latin-1")
        expected = md5_hex(s.pwkey.encode("gbk") + when.encode("latin-1"))
        if not when.lstrip("-").isdigit() or fields.get("sign", b"").decode("latin-1") != expected:
            return 200, "application/json", b'{"errno":"sign"}'
        return 200, "application/json", json.dumps({"errno": "ok", "user_pwd": s.unlock_hash()}).encode()

    def installer(self):
        path = self.settings.installer
        if not path or not os.path.isfile(path):
            return 404, "text/plain", b"installer not built"
        with open(path, "rb") as f:
            return 200, "application/octet-stream", f.read()

    def stream_data(self, q):
        try:
            size = int(q.get("size", "0"))
        except ValueError:
            size = -1
        if size < 0:
            return 400, "text/plain", b"size must be a number of bytes"
        if size <= (1 << 20):
            return 200, "application/octet-stream", pattern_bytes(size)
        # Large bodies are generated while they are sent.
        return 200, "application/octet-stream", LargeBody(size)


def start_late_listener(delay_ms):
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()

    def run():
        time.sleep(delay_ms / 1000.0)
        try:
            server = ThreadingHTTPServer(("127.0.0.1", port), Handler)
        except OSError:
            return
        server.daemon_threads = True
        timer = threading.Timer(60.0, server.shutdown)
        timer.daemon = True
        timer.start()
        server.serve_forever()
        server.server_close()

    threading.Thread(target=run, daemon=True).start()
    return port


class LargeBody:
    """A body too large to hold: send() writes it block by block."""

    BLOCK = pattern_bytes(1 << 20)

    def __init__(self, size):
        self.size = size

    def __len__(self):
        return self.size

    def write_to(self, out):
        left = self.size
        while left > 0:
            n = min(left, len(self.BLOCK))
            out.write(self.BLOCK[:n] if n < len(self.BLOCK) else self.BLOCK)
            left -= n


def page(title, body):
    return ('<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>%s</title></head>\n<body>\n%s\n</body></html>\n'
            % (html.escape(title), body))


def page_portal(base, q):
    return page("Portal", """<h1>Portal</h1>
<form action="%s/login" method="get"><input name="user" value="demo"> <input type="submit" value="Log in"></form>
<p><a href="%s/login?user=demo">log in as demo</a></p>
<p><a href="app://loadgame|%s/game?sid=1">play server 1 now</a></p>
<p><a href="app://minimize|">minimise</a> <a href="app://exitgame|">quit</a></p>""" % (base, base, base))


def page_login(base, q):
    links = "\n".join('<li><a href="%s/game?sid=%d">S%d</a> <a href="%s/game?sid=%d" target="_blank">(new window)</a>'
                      ' <a href="app://loadgame|%s/game?sid=%d">(verb)</a></li>' % (base, n, n, base, n, base, n)
                      for n in (1, 2, 3))
    return page("Servers", "<h1>Choose a server</h1>\n<ul>\n%s\n</ul>\n<p><a href=\"%s/portal\">back</a></p>"
                % (links, base))


def page_game(base, q):
    sid = html.escape(q.get("sid", ""))
    return page("Game %s" % sid, """<h1>Game server %s</h1>
<p><a href="about:blank2">leave the game</a> <a href="about:blank3">log out</a>
<a href="app://exitgame|">quit</a> <a href="app://minimize|">minimise</a></p>
<p><a href="%s/portal" target="_blank">portal in the browser</a></p>
<script>
function ext(name, arg) { try { window.external[name](arg); } catch (e) {} }
</script>
<p><button onclick="ext('gameFullScreen', '')">full screen</button>
<button onclick="ext('getNewMsg', '')">new message</button>
<button onclick="try { window.external.Invoke_Client('hello', function () {}); } catch (e) {}">invoke</button></p>"""
                % (sid, base))


def page_logout(base, q):
    return page("Logged out", '<h1>Logged out</h1>\n<p><a href="%s/portal">log in again</a></p>' % base)


def page_chat(base, q):
    return page("Chat", """<h1>Chat</h1>
<script>
try { window.external.getGsName('\u5ba2\u670d\u5c0f\u5f20'); } catch (e) {}
</script>
<p><button onclick="try { window.external.getNewMsg(''); } catch (e) {}">new message</button></p>""")


def default_installer():
    here = os.path.dirname(os.path.abspath(__file__))
    build_root = os.environ.get("BUILD_ROOT") or os.path.join(os.path.dirname(here), "build")
    return os.path.join(build_root, "x86_64", "tools", "installer-probe", "pellar_probe.exe")


def parse_args(argv):
    p = argparse.ArgumentParser(description="Local stand-in for the operator's web service.")
    p.add_argument("--port", type=int, default=0, help="port to listen on (default: a free one)")
    p.add_argument("--port-file", help="write the chosen port to this file once listening")
    p.add_argument("--log", help="append every request as one JSON line to this file")
    p.add_argument("--pid-file", help="write the process id here (with --detach), or read it (with --stop)")
    p.add_argument("--detach", action="store_true", help="run in the background; return once listening")
    p.add_argument("--stop", action="store_true", help="stop the service named by --pid-file and exit")
    p.add_argument("--client-version", default="1.0.0", help="version offered by /config.xml (default 1.0.0)")
    p.add_argument("--installer", default=None, help="program served as the update installer")
    p.add_argument("--pwkey", default="pellar-demo-key", help="key of the signed account request")
    p.add_argument("--usermd5fmt", default=None, help="check the user-info signature against this pattern")
    p.add_argument("--password", default="123456", help="unlock password whose hash user_pwd carries")
    p.add_argument("--user-name", default="\u6f14\u793a\u73a9\u5bb6", help="user name in the user-info reply")
    args = p.parse_args(argv)
    if not 0 <= args.port <= 65535:
        p.error("--port must be between 0 and 65535")
    if (args.detach or args.stop) and not args.pid_file:
        p.error("--detach and --stop need --pid-file")
    if args.detach and not args.port_file:
        p.error("--detach needs --port-file")
    if args.installer is None:
        args.installer = default_installer()
    return args


def stop(pid_file):
    try:
        with open(pid_file) as f:
            pid = int(f.read().strip())
    except (OSError, ValueError):
        print("operator_service: no valid pid file at %s; nothing stopped" % pid_file, file=sys.stderr)
        return 1
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    for _ in range(50):
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            break
        time.sleep(0.1)
    try:
        os.remove(pid_file)
    except OSError:
        pass
    return 0


def serve(args):
    if not os.path.isfile(args.installer):
        print("operator_service: warning: no installer program at %s; /download/ answers 404" % args.installer,
              file=sys.stderr)
    Handler.settings = Settings(args)
    try:
        server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    except OSError as e:
        print("operator_service: cannot listen on 127.0.0.1:%d: %s" % (args.port, e), file=sys.stderr)
        return 1
    server.daemon_threads = True
    port = server.server_address[1]
    if args.pid_file:
        with open(args.pid_file, "w") as f:
            f.write("%d\n" % os.getpid())
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write("%d\n" % port)
        os.replace(tmp, args.port_file)
    print("operator service on http://127.0.0.1:%d/ (home page /portal)" % port, flush=True)
    signal.signal(signal.SIGTERM, lambda *_: threading.Thread(target=server.shutdown).start())
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    server.server_close()
    return 0


def detach(args):
    try:
        os.remove(args.port_file)
    except OSError:
        pass
    if os.fork() > 0:
        # Parent: wait until the child listens.
        for _ in range(100):
            if os.path.exists(args.port_file):
                with open(args.port_file) as f:
                    print("operator service on http://127.0.0.1:%s/" % f.read().strip())
                return 0
            time.sleep(0.05)
        print("operator_service: the background service did not start", file=sys.stderr)
        return 1
    os.setsid()
    if os.fork() > 0:
        os._exit(0)
    devnull = os.open(os.devnull, os.O_RDWR)
    for fd in (0, 1, 2):
        os.dup2(devnull, fd)
    os._exit(serve(args))


def main(argv):
    args = parse_args(argv)
    if args.stop:
        return stop(args.pid_file)
    if args.detach:
        return detach(args)
    return serve(args)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
