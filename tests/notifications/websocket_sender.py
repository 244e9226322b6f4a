#!/usr/bin/python3
"""Talks to the notification WebSocket servers as senders do, through the
websockets library (python3-websockets). The one argument is a JSON plan: a
list of sessions, run one after another, each a dict with
  uri        where to connect (its host and port make the Host header)
  port       the loopback port to connect to instead, for another Host
  origin     an Origin header to send
  messages   text messages to send, in order; {"repeat": "x", "times": n}
             stands for a long one
  hold       seconds to keep the connections open afterwards
  together   this many connections at once (all held, then closed)
Prints one line per connection: "open" and, after closing, "closed <code>";
or "refused <reason>" when the handshake failed."""
import asyncio
import json
import sys

import websockets


def text_of(message):
    if isinstance(message, dict):
        return message["repeat"] * message["times"]
    return message


async def connect(session):
    options = {"max_size": None, "open_timeout": 5, "close_timeout": 2, "ping_interval": None}
    if "origin" in session:
        options["origin"] = session["origin"]
    if "port" in session:
        options["host"] = "127.0.0.1"
        options["port"] = session["port"]
    try:
        return await websockets.connect(session["uri"], **options)
    except Exception as error:
        print("refused", type(error).__name__, flush=True)
        return None


async def run(session):
    sockets = [await connect(session) for _ in range(session.get("together", 1))]
    for socket in sockets:
        if socket is None:
            continue
        print("open", flush=True)
        try:
            for message in session.get("messages", []):
                await socket.send(text_of(message))
        except websockets.ConnectionClosed:
            pass
    await asyncio.sleep(session.get("hold", 0.3))
    for socket in sockets:
        if socket is not None:
            await socket.close()
            print("closed", socket.close_code, flush=True)


async def main():
    for session in json.loads(sys.argv[1]):
        await run(session)


asyncio.run(main())
