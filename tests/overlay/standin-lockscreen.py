#!/usr/bin/env python3
"""A lock-screen process for tests: speaks the lock channel on the descriptor
given by --channel-fd, and behaves as STANDIN_SCENARIO says.

  lock     answers "lock" with "locked", then types the PINs listed in
           STANDIN_PINS (comma separated), one "verify" at a time, writing
           each answer to STANDIN_LOG; leaves after "unlock".
  refuse   answers "lock" with "finished" and leaves.
  die      the first start locks and is killed; later starts behave as lock.
"""
import json
import os
import socket
import sys

fd = int(sys.argv[sys.argv.index("--channel-fd") + 1])
channel = socket.socket(fileno=fd)
stream = channel.makefile("rwb", buffering=0)
log = open(os.environ["STANDIN_LOG"], "a")
scenario = os.environ.get("STANDIN_SCENARIO", "lock")
starts_file = os.environ["STANDIN_LOG"] + ".starts"
starts = int(open(starts_file).read()) + 1 if os.path.exists(starts_file) else 1
open(starts_file, "w").write(str(starts))


def send(message):
    stream.write(json.dumps(message).encode() + b"\n")


def receive():
    line = stream.readline()
    if not line:
        sys.exit(3)
    return json.loads(line)


def answer(kind):
    while True:
        message = receive()
        if message["type"] == kind:
            return message


answer("lock")
web = "without-web-pages" if "--without-web-pages" in sys.argv else "web"
log.write(f"start {starts} {web}\n")
log.flush()
if scenario == "refuse":
    send({"type": "finished", "reason": "refused"})
    sys.exit(1)
send({"type": "locked"})
if scenario == "die" and starts == 1:
    os.kill(os.getpid(), 9)
for pin in filter(None, os.environ.get("STANDIN_PINS", "").split(",")):
    send({"type": "verify", "pin": pin})
    reply = answer("verified")
    log.write(f"{pin} {reply['accepted']} {reply['failedAttempts']}\n")
    log.flush()
answer("unlock")
log.write("unlock\n")
send({"type": "unlocked"})
