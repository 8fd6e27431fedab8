"""A scriptable SMTP peer on a loopback port for the e-mail export's tests.

    SmtpPeer.py OUTDIR MODE [--auth USER:PASS] [--reject-rcpt] [--starttls CERT KEY]
                            [--implicit CERT KEY] [--close-at COMMAND] [--listen ADDRESS]

MODE "smtp" is aiosmtpd; "silent", "garbage", "split" and "bigreply" are hand-made servers
that misbehave as their names say, "drip" sends its greeting a byte every 100 ms and never ends
it, "slowread" takes the message a little at a time, "echo" repeats the credentials of AUTH
LOGIN in its refusal (plain, in Base64 and as AUTH PLAIN would combine them); "plain" is the
hand-made server behaving. Prints
"PORT <n>" when listening; every message goes to OUTDIR/message-<n>.eml and every command
to OUTDIR/commands.txt. Ends when standard input closes (the test ended, or died).
"""
import argparse
import asyncio
import logging
import warnings
import base64
import os
import socket
import ssl
import sys
import threading

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def parse():
    p = argparse.ArgumentParser()
    p.add_argument("outdir")
    p.add_argument("mode")
    p.add_argument("--auth")
    p.add_argument("--reject-rcpt", action="store_true")
    p.add_argument("--starttls", nargs=2)
    p.add_argument("--implicit", nargs=2)
    p.add_argument("--close-at")
    p.add_argument("--listen", default="127.0.0.1")
    return p.parse_args()


ARGS = parse()
# The refused handshakes are the point of some tests, not news.
logging.getLogger("mail.log").setLevel(logging.CRITICAL)
warnings.filterwarnings("ignore", module="aiosmtpd")
COUNT = [0]


def record(line):
    with open(os.path.join(ARGS.outdir, "commands.txt"), "a", encoding="utf-8") as f:
        f.write(line + "\n")


def save(data):
    COUNT[0] += 1
    with open(os.path.join(ARGS.outdir, "message-%d.eml" % COUNT[0]), "wb") as f:
        f.write(data)


def context(pair):
    ctx = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    ctx.load_cert_chain(pair[0], pair[1])
    return ctx


class Handler:
    async def handle_HELO(self, server, session, envelope, hostname):
        record("HELO " + hostname)
        session.host_name = hostname
        return "250 peer"

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        record("EHLO " + hostname)
        session.host_name = hostname
        return responses

    async def handle_MAIL(self, server, session, envelope, address, options):
        record("MAIL " + address)
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        record("RCPT " + address)
        if ARGS.reject_rcpt:
            return "550 5.1.1 <%s>: Recipient address rejected: no such user" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        record("DATA")
        save(envelope.original_content)
        return "250 2.0.0 Ok: queued"


def authenticator(server, session, envelope, mechanism, auth_data):
    if isinstance(auth_data, LoginPassword):
        login, password = auth_data.login.decode(), auth_data.password.decode()
        record("AUTH %s %s %s" % (mechanism, login, password))
        wanted = ARGS.auth.split(":", 1)
        return AuthResult(success=[login, password] == wanted, handled=False)
    return AuthResult(success=False, handled=False)


async def hand_made(reader, writer):
    try:
        await misbehave(reader, writer)
    except (ConnectionError, asyncio.IncompleteReadError):
        pass  # the client gave up on us, as it should


async def misbehave(reader, writer):
    """The misbehaving servers, and a plain one that closes at a chosen command."""
    mode = ARGS.mode
    if mode == "silent":
        await reader.read()
        return
    if mode == "garbage":
        writer.write(b"hello, this is not a mail server\r\n")
        await writer.drain()
        await reader.read()
        return
    if mode == "drip":
        while True:
            for byte in b"220-peer is taking its time\r\n":
                writer.write(bytes([byte]))
                await writer.drain()
                await asyncio.sleep(0.1)
    if mode == "split":
        for piece in (b"2", b"20 peer", b" ready\r", b"\n"):
            writer.write(piece)
            await writer.drain()
            await asyncio.sleep(0.15)
    else:
        writer.write(b"220 peer ready\r\n")
    while True:
        line = await reader.readline()
        if not line:
            return
        command = line.decode("utf-8", "replace").strip()
        verb = command.split(" ")[0].split(":")[0].upper()
        record(command)
        if ARGS.close_at and verb == ARGS.close_at.upper():
            writer.close()
            return
        if verb == "AUTH" and mode == "echo":
            writer.write(b"334 VXNlcm5hbWU6\r\n")
            await writer.drain()
            user = base64.b64decode((await reader.readline()).strip())
            writer.write(b"334 UGFzc3dvcmQ6\r\n")
            await writer.drain()
            coded = (await reader.readline()).strip()
            password = base64.b64decode(coded)
            combined = base64.b64encode(b"\0" + user + b"\0" + password)
            writer.write(b"535 5.7.8 " + coded + b" is " + password + b", " + combined + b" rejected\r\n")
        elif verb in ("HELO", "EHLO"):
            if mode == "bigreply":
                row = b"250-" + b"x" * 1020 + b"\r\n"
                writer.write(row * 1024)
            writer.write(b"250 peer\r\n")
        elif verb in ("MAIL", "RCPT", "RSET", "NOOP"):
            writer.write(b"250 OK\r\n")
        elif verb == "DATA":
            writer.write(b"354 go on\r\n")
            await writer.drain()
            data = b""
            while True:
                if mode == "slowread":
                    await asyncio.sleep(0.1)
                chunk = await reader.readline()
                if not chunk or chunk == b".\r\n":
                    break
                data += chunk
            save(data)
            writer.write(b"250 queued\r\n")
        elif verb == "QUIT":
            writer.write(b"221 bye\r\n")
            await writer.drain()
            writer.close()
            return
        else:
            writer.write(b"502 not implemented\r\n")
        await writer.drain()


async def main():
    loop = asyncio.get_running_loop()
    if ARGS.mode == "smtp":
        options = {}
        if ARGS.auth:
            options.update(authenticator=authenticator, auth_require_tls=False, auth_required=True)
        if ARGS.starttls:
            options.update(tls_context=context(ARGS.starttls), require_starttls=True)
        server = await loop.create_server(lambda: SMTP(Handler(), **options), ARGS.listen, 0,
                                          ssl=context(ARGS.implicit) if ARGS.implicit else None)
    else:
        listener = socket.socket(socket.AF_INET6 if ":" in ARGS.listen else socket.AF_INET)
        if ARGS.mode == "slowread":
            # A small window, so that the client's writes wait for our reading.
            listener.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        listener.bind((ARGS.listen, 0))
        server = await asyncio.start_server(hand_made, sock=listener,
                                            limit=1024 if ARGS.mode == "slowread" else 2 ** 16)
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    stop = asyncio.Event()
    # Standard input closes when the test is done with us, or has died.
    threading.Thread(target=lambda: (sys.stdin.read(), loop.call_soon_threadsafe(stop.set)),
                     daemon=True).start()
    await stop.wait()
    server.close()


asyncio.run(main())
