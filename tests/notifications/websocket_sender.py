#!/usr/bin/python3
"""Talks to the notification WebSocket servers as senders do, through the
websockets library (python3-websockets), and as hostile clients do. The one
argument is a JSON plan: a list of sessions, run one after another, each a
dict with
  uri        where to connect (its host and port make the Host header)
  port       the loopback port to connect to instead, for another Host
  origin     an Origin header to send
  messages   text messages to send, in order; {"repeat": "x", "times": n}
             stands for a long one
  hold       seconds at most to keep the connections open afterwards, while
             the server leaves them open
  together   this many connections at once (all held, then closed); "{i}" in
             the uri becomes each one's number
  retry      seconds to keep trying to connect, for a session of one
  say        a line to print when the session is over
  background the hold goes on while the next sessions run (its "say"
             comes as they start)
  raw        hex bytes to send after a handshake of our own, for frames the
             library will not send
  slow       this many connections that send half a request and connect
             again when closed, until the other sessions are done; the
             next session starts after "hold" seconds
Prints one line per connection: "open" (with "after <seconds> s" when it
retried) and, after closing, "closed <code>"; or "refused <reason>" when the
handshake failed."""
import asyncio
import base64
import json
import os
import sys
import time
import urllib.parse

import websockets


def text_of(message):
    if isinstance(message, dict):
        return message["repeat"] * message["times"]
    return message


async def connect(session, uri):
    options = {"max_size": None, "open_timeout": 5, "close_timeout": 2, "ping_interval": None}
    if "origin" in session:
        options["origin"] = session["origin"]
    if "port" in session:
        options["host"] = "127.0.0.1"
        options["port"] = session["port"]
    start = time.monotonic()
    while True:
        try:
            socket = await websockets.connect(uri, **options)
            if "retry" in session:
                print(f"open after {time.monotonic() - start:.2f} s", flush=True)
            return socket
        except Exception as error:
            if time.monotonic() - start >= session.get("retry", 0):
                print("refused", type(error).__name__, flush=True)
                return None
            await asyncio.sleep(0.1)


async def hold_and_close(session, sockets):
    sockets = [socket for socket in sockets if socket is not None]
    if sockets:
        await asyncio.wait([asyncio.create_task(socket.wait_closed()) for socket in sockets],
                           timeout=session.get("hold", 0.3))
    for socket in sockets:
        await socket.close()
        print("closed", socket.close_code, flush=True)


# A handshake of our own, then the bytes; the status of the server's close frame.
async def send_raw(session):
    url = urllib.parse.urlsplit(session["uri"])
    reader, writer = await asyncio.open_connection("127.0.0.1", url.port)
    key = base64.b64encode(os.urandom(16)).decode()
    writer.write(f"GET {url.path}?{url.query} HTTP/1.1\r\nHost: {url.netloc}\r\nUpgrade: websocket\r\n"
                 f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n".encode())
    await reader.readuntil(b"\r\n\r\n")
    writer.write(bytes.fromhex(session["raw"]))
    try:
        reply = await asyncio.wait_for(reader.read(), 2)
    except asyncio.TimeoutError:
        reply = b""
    writer.close()
    print("closed", int.from_bytes(reply[2:4], "big") if reply[:1] == b"\x88" else "without a close frame", flush=True)


async def keep_slow(uri):
    url = urllib.parse.urlsplit(uri)
    while True:
        try:
            reader, writer = await asyncio.open_connection("127.0.0.1", url.port)
            writer.write(b"GET / HTTP/1.1\r\n")
            await reader.read()
            writer.close()
        except OSError:
            pass


async def run(session, background, slow):
    if "raw" in session:
        return await send_raw(session)
    if "slow" in session:
        slow += [asyncio.create_task(keep_slow(session["uri"])) for _ in range(session["slow"])]
        return await asyncio.sleep(session.get("hold", 0.3))
    uris = [session["uri"].replace("{i}", str(i)) for i in range(session.get("together", 1))]
    sockets = [await connect(session, uri) for uri in uris]
    for socket in sockets:
        if socket is None:
            continue
        if "retry" not in session:
            print("open", flush=True)
        try:
            for message in session.get("messages", []):
                await socket.send(text_of(message))
        except websockets.ConnectionClosed:
            pass
    if session.get("background"):
        background.append(asyncio.create_task(hold_and_close(session, sockets)))
    else:
        await hold_and_close(session, sockets)
    if "say" in session:
        print(session["say"], flush=True)


async def main():
    background, slow = [], []
    for session in json.loads(sys.argv[1]):
        await run(session, background, slow)
    for task in slow:
        task.cancel()
    await asyncio.gather(*background, *slow, return_exceptions=True)


asyncio.run(main())
