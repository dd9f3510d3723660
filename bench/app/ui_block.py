#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How long the UI loop is blocked while the keyboard connects, measured from outside.

    bench/app/ui_block.py build/bin/telix-tx512 [--faults 20] [--quiet-ms 5000] [--window-s 60]

Each scenario starts the program headless (`--headless --simulate=none --script -`) in fresh
XDG folders, waits for the first device scan (main window shown), then plugs the simulated
keyboard and keeps the script channel busy with back-to-back `get`s of "device_switch". A
command is posted to the UI loop and answered there, so its round trip is how long the loop
took to get to it: the longest round trip is the longest the window did not answer. About
every --poll-ms the keyboard's wirelog is read as well (it also goes through the loop, so it
is timed as a probe too). The connection counts as done once the wirelog has not grown for
--quiet-ms after it first grew, or after --window-s from the plug, whichever comes first
("ended" says which). A lost reply costs the program up to two reply waits (2 x 1000 ms)
with nothing new on the wire, so the silence that ends a connection must be longer.

Scenarios:
  lost_replies  the keyboard is told to lose --faults requests (fault "noreply") before it
                is plugged: longest and median round trip, probes, and how long the
                connection took (connection_ms, routine_end_ms below)
  clean         no fault: the same figures plus the reports the program sent ("out"
                entries of the wirelog) and the replies/events it got ("in")

"connection_ms" runs from the plug to the answer that first showed the last report, so it is
late by up to one probe interval (about --poll-ms when the loop is free). With lost replies
the routine still waits for the last one after that report: when the UI loop does the
waiting the blocked wirelog answer includes it, when another thread does it does not.
"routine_end_ms" does not depend on who waits: the program runs with TX512_TRACE pointing at
a file, the channel traces every exchange's end ("返回", also when no reply came), and a
thread watches that file every 5 ms; it is plug until the last exchange ended
("exchanges" counts them).
Prints one JSON object.
"""
import argparse
import json
import os
import queue
import statistics
import subprocess
import sys
import tempfile
import threading
import time

# The same fresh XDG folders as the program figures.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from shell_figures import sandbox_env  # noqa: E402

TRACE_POLL_S = 0.005
EXCHANGE_END = "返回".encode()  # the channel's label line after each exchange
# A probe's answer may be late by the whole block being measured: 20 lost replies of 2 s
# each on the UI thread would be 40 s. Only a hung program should hit this.
ANSWER_TIMEOUT_S = 120.0
START_TIMEOUT_S = 20.0


class Failure(Exception):
    pass


class Program:
    """The program in a script conversation; answers are read on a thread so that every
    read can time out instead of hanging the benchmark."""

    def __init__(self, program, root, trace):
        self.stderr = open(os.path.join(root, "stderr.txt"), "w")
        env = sandbox_env(root)
        env["TX512_TRACE"] = trace
        self.p = subprocess.Popen(
            [program, "--headless", "--simulate=none", "--script", "-"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.stderr,
            env=env, text=True, encoding="utf-8")
        self.answers = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.p.stdout:
            self.answers.put(line)
        self.answers.put(None)

    def ask(self, command, timeout=ANSWER_TIMEOUT_S):
        """Sends one command; returns (answer, round trip in seconds)."""
        start = time.perf_counter()
        try:
            self.p.stdin.write(json.dumps(command) + "\n")
            self.p.stdin.flush()
        except (BrokenPipeError, OSError) as e:
            raise Failure(f"program gone before {command}: {e}")
        try:
            line = self.answers.get(timeout=timeout)
        except queue.Empty:
            raise Failure(f"no answer to {command} within {timeout:.0f} s")
        elapsed = time.perf_counter() - start
        if line is None:
            raise Failure(f"program ended (code {self.p.poll()}) before answering {command}")
        return json.loads(line), elapsed

    def ok(self, command):
        answer, _ = self.ask(command)
        if not answer.get("ok"):
            raise Failure(f"{command} failed: {answer}")
        return answer

    def close(self):
        try:
            if self.p.poll() is None:
                self.ask({"cmd": "quit"}, timeout=10)
                self.p.wait(timeout=20)
        except (Failure, subprocess.TimeoutExpired, ValueError):
            pass
        finally:
            if self.p.poll() is None:
                self.p.kill()
                self.p.wait(timeout=10)
            self.stderr.close()


class TraceWatch:
    """Times the end of every exchange from the trace file, off the probe loop, so that a
    blocked script channel does not delay the timestamps."""

    def __init__(self, path):
        self.path = path
        self.offset = os.path.getsize(path) if os.path.exists(path) else 0
        self.ends = []
        self.stop = threading.Event()
        self.thread = threading.Thread(target=self._watch, daemon=True)
        self.thread.start()

    def _watch(self):
        pending = b""
        while not self.stop.wait(TRACE_POLL_S):
            try:
                with open(self.path, "rb") as f:
                    f.seek(self.offset)
                    data = f.read()
            except FileNotFoundError:
                continue
            if not data:
                continue
            at = time.perf_counter()
            self.offset += len(data)
            lines = (pending + data).split(b"\n")
            pending = lines.pop()
            self.ends.extend(at for line in lines if line == EXCHANGE_END)

    def close(self):
        self.stop.set()
        self.thread.join(timeout=5)
        return self.ends


def wait_until_shown(prog):
    deadline = time.monotonic() + START_TIMEOUT_S
    while not prog.ok({"cmd": "window"}).get("visible"):
        if time.monotonic() > deadline:
            raise Failure("main window not shown after the first scan")
        prog.ok({"cmd": "wait", "ms": 5})


def scenario(program, faults, quiet_s, window_s, poll_s):
    with tempfile.TemporaryDirectory(prefix="tx512-ui-block-") as root:
        trace = os.path.join(root, "trace.txt")
        prog = Program(program, root, trace)
        watch = None
        try:
            wait_until_shown(prog)
            prog.ok({"cmd": "wait", "ms": 200})
            if faults:
                prog.ok({"cmd": "sim", "device": "keyboard", "op": "fault", "fault": "noreply",
                         "count": faults})
            probe = {"cmd": "get", "control": "device_switch"}
            wirelog = {"cmd": "sim", "device": "keyboard", "op": "wirelog"}

            rtts = []       # every probe, get and wirelog alike
            get_rtts = []
            out = inn = 0
            last_growth = None
            watch = TraceWatch(trace)
            plug = time.perf_counter()
            _, rtt = prog.ask({"cmd": "sim", "device": "keyboard", "op": "plug"})
            rtts.append(rtt)
            next_log = plug
            ended = "window"
            while True:
                now = time.perf_counter()
                if now - plug >= window_s:
                    break
                if now >= next_log:
                    answer, rtt = prog.ask(wirelog)
                    if not answer.get("ok"):
                        raise Failure(f"wirelog failed: {answer}")
                    rtts.append(rtt)
                    at = time.perf_counter()
                    entries = answer.get("log", [])
                    if entries:
                        out += sum(1 for e in entries if e.get("dir") == "out")
                        inn += sum(1 for e in entries if e.get("dir") == "in")
                        last_growth = at
                    elif last_growth is not None and at - last_growth >= quiet_s:
                        ended = "quiet"
                        break
                    next_log = at + poll_s
                    continue
                answer, rtt = prog.ask(probe)
                if not answer.get("ok"):
                    raise Failure(f"get failed: {answer}")
                rtts.append(rtt)
                get_rtts.append(rtt)
            shown = prog.ok(probe)
            ends = watch.close()
            result = {
                "max_block_ms": round(max(rtts) * 1000, 1),
                "median_rtt_ms": round(statistics.median(rtts) * 1000, 3),
                "median_get_rtt_ms":
                    round(statistics.median(get_rtts) * 1000, 3) if get_rtts else None,
                "p99_rtt_ms": (round(statistics.quantiles(rtts, n=100)[98] * 1000, 3)
                               if len(rtts) > 1 else None),
                "probes": len(rtts),
                "probes_over_100ms": sum(1 for r in rtts if r > 0.1),
                "blocked_total_ms": round(sum(r for r in rtts if r > 0.1) * 1000, 1),
                "connection_ms": round((last_growth - plug) * 1000, 1) if last_growth else None,
                "routine_end_ms": round((ends[-1] - plug) * 1000, 1) if ends else None,
                "exchanges": len(ends),
                "reports_out": out,
                "reports_in": inn,
                "ended": ended,
                "page_after": shown.get("cursel"),
            }
            return result
        finally:
            if watch:
                watch.close()
            prog.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program")
    parser.add_argument("--faults", type=int, default=20, help="lost replies armed (noreply)")
    parser.add_argument("--quiet-ms", type=float, default=5000.0,
                        help="wirelog silence that ends the connection (above the 1 s reply wait)")
    parser.add_argument("--window-s", type=float, default=60.0, help="longest watch after the plug")
    parser.add_argument("--poll-ms", type=float, default=100.0, help="wirelog read interval")
    args = parser.parse_args()
    if not os.access(args.program, os.X_OK):
        print(json.dumps({"error": f"{args.program} is not an executable"}))
        return 2
    figures = {"program": os.path.abspath(args.program)}
    q, w, p = args.quiet_ms / 1000, args.window_s, args.poll_ms / 1000
    try:
        lost = scenario(args.program, args.faults, q, w, p)
        figures["lost_replies"] = dict(faults=args.faults, **lost)
        figures["clean"] = scenario(args.program, 0, q, w, p)
    except Failure as e:
        figures["error"] = str(e)
        print(json.dumps(figures))
        return 1
    print(json.dumps(figures))
    return 0


if __name__ == "__main__":
    sys.exit(main())
