#!/usr/bin/env python3
"""Local servers that fail as a sender meets failures, one port per fault:

    refused    nothing listens
    stall      accepts, reads, never answers
    garbage    answers bytes that are not HTTP
    not-ocs    answers HTTP 200 with a body that is not zlib
    http-error answers HTTP 503
    declined   answers the PROLOG as an OCS server that wants no inventory
    inventory-error  asks for the inventory, then answers it with HTTP 500
    tls        TLS with a self-signed certificate

Prints one line "FAULT PORT" per fault, then "ready", and serves until its
standard input closes.

    fault_server.py CERT_DIR
"""
import socket
import ssl
import subprocess
import sys
import threading
import zlib
from pathlib import Path


def read_request(conn):
    """Reads headers and the body its Content-Length announces; returns the
    body."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk:
            return b""
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(b"\r\n"):
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value)
    while len(body) < length:
        chunk = conn.recv(65536)
        if not chunk:
            return b""
        body += chunk
    return body


def http(status, body):
    return (f"HTTP/1.1 {status}\r\nContent-Length: {len(body)}\r\nConnection: close\r\n\r\n").encode() + body


def reply(response):
    return http("200 OK", zlib.compress(b"<?xml version='1.0' encoding='UTF-8'?>\n<REPLY><RESPONSE>" +
                                        response + b"</RESPONSE></REPLY>\n"))


def is_prolog(body):
    try:
        return b"<QUERY>PROLOG</QUERY>" in zlib.decompress(body)
    except zlib.error:
        return False


ANSWERS = {
    "garbage": b"\x00\x17 this is no HTTP \xff\xfe\r\n\r\n",
    "not-ocs": http("200 OK", b"<html>not an inventory server</html>"),
    "http-error": http("503 Service Unavailable", b""),
    "declined": reply(b"STOP"),
    # Never reached by a client that refuses the certificate.
    "tls": reply(b"SEND"),
}


def serve(listener, fault, context, stalled):
    while True:
        conn, _ = listener.accept()
        try:
            if context:
                try:
                    conn = context.wrap_socket(conn, server_side=True)
                except (ssl.SSLError, OSError):
                    conn.close()  # the client refused the certificate, as it should
                    continue
            body = read_request(conn)
            if fault == "stall":
                stalled.append(conn)  # kept open, never answered
                continue
            if fault == "inventory-error":
                conn.sendall(reply(b"SEND") if is_prolog(body) else http("500 Internal Server Error", b""))
            else:
                conn.sendall(ANSWERS[fault])
        except OSError:
            pass
        conn.close()


def self_signed(cert_dir):
    cert, key = Path(cert_dir) / "cert.pem", Path(cert_dir) / "key.pem"
    if not cert.exists():
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                        "-subj", "/CN=127.0.0.1", "-keyout", str(key), "-out", str(cert)],
                       check=True, capture_output=True)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def main():
    cert_dir = sys.argv[1]
    stalled = []
    listeners = []
    # The refused port: bound once to find a free one, then closed.
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    print("refused", probe.getsockname()[1])
    probe.close()
    for fault in ["stall", "garbage", "not-ocs", "http-error", "declined", "inventory-error", "tls"]:
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(8)
        listeners.append(listener)
        context = self_signed(cert_dir) if fault == "tls" else None
        threading.Thread(target=serve, args=(listener, fault, context, stalled), daemon=True).start()
        print(fault, listener.getsockname()[1])
    print("ready", flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()
