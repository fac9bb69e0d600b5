#!/usr/bin/env python3
"""Runs a test command next to local HTTPS servers that stand in for the
book-volume web service and for the National Diet Library's search service,
with a certificate authority made for this run.

  with_lookup_server.py [--default-port] [--gtest-filter F] [--max-seconds N]
                        [--prefix-ca DIR] -- COMMAND...
  with_lookup_server.py --make-ca DIR

The certificates of the servers name 127.0.0.1 as an address and as a DNS
name (Wine's WinHTTP matches DNS names only) and point to a CRL that an HTTP
server of this run hands out (WinHTTP checks revocation).  With --prefix-ca
the command is a Windows program under Wine, which trusts the Root store of
its prefix rather than SSL_CERT_FILE: the servers then use the CA kept in
DIR, made once by --make-ca and imported into that store by
scripts/wineprefix, and the request log is named by its Wine path (Z:).

The command finds in its environment:
  SSL_CERT_FILE                    the test CA, the only one it trusts
  TOMEBOX_LOOKUP_PORT              server with a certificate of that CA
  TOMEBOX_LIBRARY_PORT             the Library's, with a certificate of that CA
  TOMEBOX_LOOKUP_UNTRUSTED_PORT    server with a certificate of another CA
  TOMEBOX_LOOKUP_CLOSED_PORT       a port nothing listens on
  TOMEBOX_LOOKUP_DEFAULT_PORT      "443" with --default-port: a trusted server
                                   on 127.0.0.1:443, the port of a URI that
                                   names none
  TOMEBOX_LOOKUP_LOG               one line per request: server, request
                                   line, Host header (tab-separated)

The answer is chosen by the ISBN (the text after "isbn:" in q):
  404, 500, 201                  that status (201 with a complete answer)
  notjson                        200, JSON content type, a body that is not JSON
  html                           200, a complete answer as text/html
  noitems, noauthors, nodate     a volume without that part
  date:TEXT                      a complete answer with that publishedDate
  japanese                       Japanese and non-BMP texts
  volume:TITLE|AUTHOR            a complete answer with that title and author
  slow:MS:REST                   the answer for REST, after MS milliseconds
  429                            that status: the keyless quota is used up
  an ISBN of BOOKS               that book's answer (hyphens and spaces ignored)
  anything else                  the complete answer, two volumes

The Library's answer is chosen by the isbn parameter among BOOKS: a record,
or one of its failures; any other ISBN has no record.
"""
import argparse
import errno
import http.server
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

FULL_VOLUMES = [
    {"volumeInfo": {"title": "Full Title", "authors": ["Author One", "Author Two", "Author Three"],
                    "publisher": "Ignored", "publishedDate": "2014-05-20"}},
    {"volumeInfo": {"title": "Second Volume", "authors": ["Second Author"], "publishedDate": "1999-12"}},
]


# By the ISBN's digits, as the Library is asked: the key of Google's answer
# for it (see answer_for) and the Library's, the elements of its record or
# a failure: 500 (that status), endless (200, a body that never ends),
# silent (nothing for longer than any test waits).
BOOKS = {
    "9784101010014": ("volume:坊っちゃん|夏目 漱石",
                      "<dc:title>坊っちゃん</dc:title><dcndl:titleTranscription>ボッチャン</dcndl:titleTranscription>"
                      "<dc:creator>夏目, 漱石, 1867-1916</dc:creator><dcndl:creatorTranscription>ナツメ, ソウセキ"
                      "</dcndl:creatorTranscription><dc:publisher>新潮社</dc:publisher><dcndl:publisherTranscription>"
                      "シンチョウシャ</dcndl:publisherTranscription><dcterms:issued>2003.4</dcterms:issued>"),
    "9784098700016": ("429",
                      "<dc:title>名探偵コナン</dc:title><dcndl:titleTranscription>メイタンテイ コナン"
                      "</dcndl:titleTranscription><dcndl:volume>105</dcndl:volume><dc:creator>青山, 剛昌, 1963-"
                      "</dc:creator><dcndl:creatorTranscription>アオヤマ, ゴウショウ</dcndl:creatorTranscription>"
                      "<dc:publisher>小学館</dc:publisher><dcndl:publisherTranscription>ショウガクカン"
                      "</dcndl:publisherTranscription><dcterms:issued>[2023.4]</dcterms:issued>"),
    "9784000000019": ("noitems", None),
    "9784000000101": ("9784003101018", "500"),
    "9784000000125": ("9784003101018", "endless"),
    "9784000000132": ("9784003101018", "silent"),
    "9784000000149": ("404", "silent"),
    "9784000000156": ("404", "endless"),
    "9784000000163": ("slow:5000:9784003101018", "silent"),
}


def isbn_digits(text):
    return text.replace("-", "").replace(" ", "")


def library_answer(items):
    return ('<?xml version="1.0" encoding="UTF-8"?><rss version="2.0" xmlns:dc="http://purl.org/dc/elements/1.1/" '
            'xmlns:dcndl="http://ndl.go.jp/dcndl/terms/" xmlns:dcterms="http://purl.org/dc/terms/" '
            f'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"><channel>{items}</channel></rss>').encode("utf-8")


def volume_answer(info):
    return {"kind": "books#volumes", "totalItems": 1, "items": [{"volumeInfo": info}]}


def full_answer():
    return {"kind": "books#volumes", "totalItems": 2, "items": FULL_VOLUMES}


def answer_for(key):
    """(status, content type, body bytes) for the text after isbn:."""
    as_json = "application/json; charset=UTF-8"

    def body(value):
        return json.dumps(value, ensure_ascii=False).encode("utf-8")

    if key.startswith("slow:"):
        _, delay, rest = key.split(":", 2)
        time.sleep(int(delay) / 1000.0)
        return answer_for(rest)
    if isbn_digits(key) in BOOKS:
        return answer_for(BOOKS[isbn_digits(key)][0])
    if key in ("404", "500", "429"):
        return int(key), as_json, body({"error": {"code": int(key), "message": "no"}})
    if key == "201":
        return 201, as_json, body(full_answer())
    if key == "notjson":
        return 200, as_json, b"<html>not JSON</html>"
    if key == "html":
        return 200, "text/html; charset=UTF-8", body(full_answer())
    if key == "noitems":
        return 200, as_json, body({"kind": "books#volumes", "totalItems": 0})
    if key == "noauthors":
        return 200, as_json, body(volume_answer({"title": "Only Title", "publishedDate": "2014-05"}))
    if key == "nodate":
        return 200, as_json, body(volume_answer({"title": "No Date", "authors": ["Dateless"]}))
    if key.startswith("date:"):
        return 200, as_json, body(volume_answer({"title": "Dated", "authors": ["Writer"],
                                                 "publishedDate": key[len("date:"):]}))
    if key.startswith("volume:"):
        title, author = key[len("volume:"):].split("|", 1)
        return 200, as_json, body(volume_answer({"title": title, "authors": [author],
                                                 "publishedDate": "1942-05"}))
    if key == "japanese":
        return 200, as_json, body(volume_answer({"title": "吾輩は猫である𠮷", "authors": ["夏目漱石", "他"],
                                                 "publishedDate": "𠮷〇一-五月"}))
    return 200, as_json, body(full_answer())


class Log:
    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()
        open(path, "w").close()

    def write(self, *fields):
        with self.lock, open(self.path, "a", encoding="utf-8") as f:
            f.write("\t".join(fields) + "\n")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        self.server.log.write(self.server.name, self.requestline, self.headers.get("Host", ""))
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query, keep_blank_values=True)
        if self.server.name == "library":
            self.answer_as_library(query.get("isbn", [""])[0])
            return
        q = query.get("q", [""])[0]
        key = q[len("isbn:"):] if q.startswith("isbn:") else q
        if key == "endless":
            self.send_endless("application/json; charset=UTF-8", b'{"items": [', b" " * 65536, key)
            return
        self.send(*answer_for(key))

    def send(self, status, content_type, body, length=True):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        if length:
            self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True

    def send_endless(self, content_type, head, chunk, key):
        """A 200 whose body never ends: until the client refuses it (logged
        with the key), or a minute has passed."""
        self.send(200, content_type, head, length=False)
        deadline = time.monotonic() + 60
        try:
            while time.monotonic() < deadline:
                self.wfile.write(chunk)
        except OSError:
            self.server.log.write(self.server.name, "endless body refused", key)

    def answer_as_library(self, isbn):
        as_xml = "application/rss+xml; charset=UTF-8"
        answer = BOOKS.get(isbn, (None, None))[1]
        if answer == "500":
            self.send(500, "text/html", b"<html>error</html>")
        elif answer == "silent":
            time.sleep(20)
        elif answer == "endless":
            self.send_endless(as_xml, library_answer("")[:-len("</channel></rss>")],
                              b"<item>" + b"x" * 65536 + b"</item>", isbn)
        else:
            # The ISBN written as the Library writes it, with hyphens.
            identifier = f'<dc:identifier xsi:type="dcndl:ISBN">{isbn[:3]}-{isbn[3:]}</dc:identifier>'
            self.send(200, as_xml, library_answer(f"<item>{answer}{identifier}</item>" if answer else ""))

    def handle(self):
        super().handle()
        # A client that refuses the certificate once the handshake is done
        # (WinHTTP does) closes the connection without a request.
        if not getattr(self, "requestline", ""):
            self.server.log.write(self.server.name, "closed without a request", "")

    def log_message(self, *args):
        pass


class TlsServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, name, address, context, log):
        self.name, self.context, self.log = name, context, log
        super().__init__(address, Handler)

    def finish_request(self, request, client_address):
        # The handshake runs on the request's own thread, so that a client
        # that refuses the certificate stops nothing else.
        try:
            tls = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError) as e:
            self.log.write(self.name, "handshake failed: " + type(e).__name__, "")
            return
        super().finish_request(tls, client_address)

    def handle_error(self, request, client_address):
        pass


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


EC = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
SERVER_NAMES = "IP:127.0.0.1,DNS:127.0.0.1"


def make_ca(d, days):
    openssl("req", "-x509", *EC, "-keyout", "ca.key", "-out", "ca.pem", "-days", str(days),
            "-subj", "/CN=Tomebox Test CA", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=d)


def make_certificates(d, ca_dir, crl_url):
    if ca_dir:
        for name in ("ca.pem", "ca.key"):
            shutil.copy(os.path.join(ca_dir, name), d)
    else:
        make_ca(d, 2)
    # An empty revocation list of the CA, in DER as HTTP clients fetch it.
    with open(os.path.join(d, "ca.cnf"), "w") as f:
        f.write("[ca]\ndefault_ca = test\n[test]\ndatabase = index.txt\ncrlnumber = crlnumber\n"
                "default_md = sha256\ndefault_crl_days = 2\n")
    open(os.path.join(d, "index.txt"), "w").close()
    with open(os.path.join(d, "crlnumber"), "w") as f:
        f.write("01\n")
    openssl("ca", "-config", "ca.cnf", "-gencrl", "-keyfile", "ca.key", "-cert", "ca.pem", "-out", "crl.pem", cwd=d)
    openssl("crl", "-in", "crl.pem", "-outform", "DER", "-out", "ca.crl", cwd=d)
    openssl("req", *EC, "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1", cwd=d)
    with open(os.path.join(d, "server.ext"), "w") as f:
        f.write(f"subjectAltName={SERVER_NAMES}\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n"
                f"crlDistributionPoints=URI:{crl_url}\n")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
            "-out", "server.pem", "-days", "2", "-extfile", "server.ext", cwd=d)
    # The same name, vouched for by nobody the client trusts.
    openssl("req", "-x509", *EC, "-keyout", "rogue.key", "-out", "rogue.pem", "-days", "2",
            "-subj", "/CN=127.0.0.1", "-addext", f"subjectAltName={SERVER_NAMES}", cwd=d)


class CrlHandler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(os.path.join(self.server.directory, "ca.crl"), "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/pkix-crl")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def server_context(d, name):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(d, name + ".pem"), os.path.join(d, name + ".key"))
    return context


def start(server):
    threading.Thread(target=server.serve_forever, args=(0.05,), daemon=True).start()
    return server


def bind_default_port(d, log):
    # Another run of these tests may hold the port for a moment.
    deadline = time.monotonic() + 30
    while True:
        try:
            return TlsServer("default", ("127.0.0.1", 443), server_context(d, "server"), log)
        except OSError as e:
            if e.errno != errno.EADDRINUSE or time.monotonic() > deadline:
                raise
            time.sleep(0.2)


def closed_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--default-port", action="store_true")
    parser.add_argument("--gtest-filter")
    parser.add_argument("--max-seconds", type=float)
    parser.add_argument("--prefix-ca")
    parser.add_argument("--make-ca")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if args.make_ca:
        os.makedirs(args.make_ca, exist_ok=True)
        make_ca(args.make_ca, 3650)
        return 0

    d = tempfile.mkdtemp(prefix="tomebox-lookup-")
    servers = []
    try:
        crl_server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), CrlHandler)
        crl_server.directory = d
        servers.append(start(crl_server))
        make_certificates(d, args.prefix_ca, f"http://127.0.0.1:{crl_server.server_address[1]}/ca.crl")
        log = Log(os.path.join(d, "requests.log"))
        trusted = start(TlsServer("trusted", ("127.0.0.1", 0), server_context(d, "server"), log))
        untrusted = start(TlsServer("untrusted", ("127.0.0.1", 0), server_context(d, "rogue"), log))
        library = start(TlsServer("library", ("127.0.0.1", 0), server_context(d, "server"), log))
        servers += [trusted, untrusted, library]
        env = dict(os.environ,
                   SSL_CERT_FILE=os.path.join(d, "ca.pem"),
                   TOMEBOX_LOOKUP_PORT=str(trusted.server_address[1]),
                   TOMEBOX_LOOKUP_UNTRUSTED_PORT=str(untrusted.server_address[1]),
                   TOMEBOX_LIBRARY_PORT=str(library.server_address[1]),
                   TOMEBOX_LOOKUP_CLOSED_PORT=str(closed_port()),
                   TOMEBOX_LOOKUP_LOG="Z:" + log.path.replace("/", "\\") if args.prefix_ca else log.path)
        if args.default_port:
            try:
                servers.append(start(bind_default_port(d, log)))
                env["TOMEBOX_LOOKUP_DEFAULT_PORT"] = "443"
            except PermissionError:
                print("with_lookup_server: port 443 needs root; the case that uses it is skipped")
        if args.gtest_filter:
            env["GTEST_FILTER"] = args.gtest_filter

        began = time.monotonic()
        process = subprocess.Popen(command, env=env)
        try:
            rc = process.wait(timeout=args.max_seconds)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            print(f"with_lookup_server: no end after {args.max_seconds} s", file=sys.stderr)
            return 1
        if args.max_seconds:
            print(f"with_lookup_server: ended with {rc} after {time.monotonic() - began:.2f} s")
        return rc
    finally:
        for server in servers:
            server.shutdown()
            server.server_close()
        shutil.rmtree(d, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
