#!/usr/bin/env python3
"""TLS in front of a test's loopback HTTP server, with certificates made for this run.

Started by the test driver (under Wine a Windows program can start a Linux one). It makes a
test authority and server certificates with openssl in a private folder, then listens on
127.0.0.1 with three certificates:
  trusted    for "localhost", issued by the test authority
  untrusted  for "localhost", issued by a second authority that nobody trusts
  otherhost  for "otherhost.invalid", issued by the test authority
Each TLS connection is passed on, decrypted, to 127.0.0.1:UPSTREAM, and back.

It reports on the control connection (127.0.0.1:CONTROL, opened by the driver) one line:
  "READY <trusted port> <untrusted port> <otherhost port> <authority as DER in hex>\n"
or "FAIL <reason>\n", and ends as soon as the driver closes that connection (or dies).
Usage: tls_front.py UPSTREAM CONTROL
"""
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading

LOOPBACK = "127.0.0.1"
DAYS = "2"


def openssl(folder, *args):
    subprocess.run(["openssl", *args], cwd=folder, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_authority(folder, name, subject):
    openssl(folder, "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", DAYS,
            "-keyout", name + ".key", "-out", name + ".pem", "-subj", "/CN=" + subject,
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")


def make_server(folder, name, authority, host):
    with open(os.path.join(folder, name + ".ext"), "w") as ext:
        ext.write("subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\n"
                  "keyUsage=critical,digitalSignature,keyEncipherment\n" % host)
    openssl(folder, "req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", name + ".key",
            "-out", name + ".csr", "-subj", "/CN=" + host)
    openssl(folder, "x509", "-req", "-in", name + ".csr", "-CA", authority + ".pem",
            "-CAkey", authority + ".key", "-set_serial", str(int.from_bytes(os.urandom(8), "big")),
            "-days", DAYS, "-extfile", name + ".ext", "-out", name + ".pem")


def pump(source, target):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            target.sendall(data)
    except OSError:
        pass
    for sock, how in ((target, socket.SHUT_WR), (source, socket.SHUT_RD)):
        try:
            sock.shutdown(how)
        except OSError:
            pass


def serve_connection(context, client, upstream_port):
    try:
        client.settimeout(30)
        secure = context.wrap_socket(client, server_side=True)
        secure.settimeout(None)
    except (OSError, ssl.SSLError):
        client.close()   # a refused certificate ends here, before anything is passed on
        return
    try:
        upstream = socket.create_connection((LOOPBACK, upstream_port))
    except OSError:
        secure.close()
        return
    back = threading.Thread(target=pump, args=(upstream, secure), daemon=True)
    back.start()
    pump(secure, upstream)
    back.join()
    secure.close()
    upstream.close()


def listen(folder, name, upstream_port):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(folder, name + ".pem"), os.path.join(folder, name + ".key"))
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind((LOOPBACK, 0))
    listener.listen(16)

    def accept_loop():
        while True:
            client, _ = listener.accept()
            threading.Thread(target=serve_connection, args=(context, client, upstream_port),
                             daemon=True).start()

    threading.Thread(target=accept_loop, daemon=True).start()
    return listener.getsockname()[1]


def main():
    upstream_port, control_port = int(sys.argv[1]), int(sys.argv[2])
    control = socket.create_connection((LOOPBACK, control_port))
    folder = tempfile.mkdtemp(prefix="qs-tls-")
    try:
        make_authority(folder, "authority", "Quillsuite Test Authority")
        make_authority(folder, "stranger", "Quillsuite Untrusted Authority")
        make_server(folder, "trusted", "authority", "localhost")
        make_server(folder, "untrusted", "stranger", "localhost")
        make_server(folder, "otherhost", "authority", "otherhost.invalid")
        ports = [listen(folder, name, upstream_port) for name in ("trusted", "untrusted", "otherhost")]
        with open(os.path.join(folder, "authority.pem")) as pem:
            der = ssl.PEM_cert_to_DER_cert(pem.read())
        control.sendall(("READY %d %d %d %s\n" % (*ports, der.hex())).encode())
    except Exception as error:   # reported to the driver, which fails the test with it
        control.sendall(("FAIL %s\n" % str(error).replace("\n", " ")).encode())
        raise
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    # Until the driver closes the control connection.
    try:
        while control.recv(64):
            pass
    except OSError:
        pass
    os._exit(0)


if __name__ == "__main__":
    main()
