#!/usr/bin/env python3
"""A local RFC 3161 timestamp server for the package test: openssl ts -reply
behind http.server, on the loopback address, signing with CERTS/tsa.pem.

    timestamp_server.py CERTS PORT_FILE [refuse|hang]

Writes the port it listens on into PORT_FILE, then serves until it is ended.
With "refuse" it answers every request with HTTP 500; with "hang" it reads
each request and never answers (for at most ten minutes)."""
import http.server
import os
import subprocess
import sys
import tempfile
import time

certs, port_file = sys.argv[1], sys.argv[2]
mode = sys.argv[3] if len(sys.argv) > 3 else ""
refuse = mode == "refuse"
work = tempfile.mkdtemp()
config = os.path.join(work, "tsa.cnf")
with open(config, "w") as out:
    out.write(f"""[tsa]
default_tsa = nocturo_tsa
[nocturo_tsa]
dir = {work}
serial = {work}/serial
signer_cert = {certs}/tsa.pem
signer_key = {certs}/tsa.key
certs = {certs}/ca.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ordering = yes
tsa_name = no
ess_cert_id_chain = no
ess_cert_id_alg = sha256
""")
with open(os.path.join(work, "serial"), "w") as out:
    out.write("01\n")


class Timestamps(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        if mode == "hang":
            time.sleep(600)
            return
        if refuse:
            try:
                self.send_error(500, "refusing on purpose")
            except (BrokenPipeError, ConnectionResetError):
                pass  # the client read the status line and hung up
            return
        with tempfile.NamedTemporaryFile(dir=work) as request, tempfile.NamedTemporaryFile(dir=work) as reply:
            request.write(query)
            request.flush()
            made = subprocess.run(["openssl", "ts", "-reply", "-config", config, "-queryfile", request.name,
                                   "-out", reply.name], capture_output=True)
            body = reply.read() if made.returncode == 0 else b""
        if not body:
            self.send_error(500, "openssl ts -reply failed")
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Timestamps)
with open(port_file, "w") as out:
    out.write(str(server.server_address[1]))
server.serve_forever()
