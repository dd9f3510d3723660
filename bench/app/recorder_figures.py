#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How well the macro recorder keeps time, and what recording costs the window.

    bench/app/recorder_figures.py build/bin/telix-tx512 [--events 50] [--long 4000]

The program runs headless with the simulated keyboard in fresh XDG folders. A macro is
recorded from `key` commands: --events presses and releases of A, the key held for 40 ms
and released for 60 ms of the program's own clock (`wait`), so every recorded delay should
read 40 or 60. Then a second recording of --long events sent back to back; each `key`
command is answered once the UI loop has handled the event, so the longest round trip is the
longest the window did not answer while recording.

  delay_error_ms   mean and largest |recorded - waited| over the delays between events
  longest_key_ms   the longest round trip of a `key` command during the long recording
  median_key_ms    its median
Prints one JSON object.
"""
import argparse
import glob
import json
import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from shell_figures import Headless, sandbox_env  # noqa: E402


def record(h, steps):
    h.ask({"cmd": "notify", "control": "macro_btn_name_add", "type": "click"})
    h.ask({"cmd": "mouse", "control": "macro_btn_starredio"})
    timings = []
    for command, wait in steps:
        start = time.monotonic()
        h.ask(command)
        timings.append((time.monotonic() - start) * 1000)
        if wait:
            h.ask({"cmd": "wait", "ms": wait})
    h.ask({"cmd": "mouse", "control": "macro_btn_stopredio"})
    return timings


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--events", type=int, default=50)
    parser.add_argument("--long", type=int, default=4000)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as root:
        h = Headless(args.program, sandbox_env(root))
        h.ask({"cmd": "wait", "ms": 1500})
        h.ask({"cmd": "notify", "control": "macro_Op_tab", "type": "selectchanged", "selected": True})
        steps = []
        for i in range(args.events // 2):
            steps.append(({"cmd": "key", "name": "A", "action": "down"}, 40))
            steps.append(({"cmd": "key", "name": "A", "action": "up"}, 60))
        record(h, steps)
        folder = os.path.join(root, "data", "TELIX TX512 keyboard Driver", "keyboard")
        library = json.load(open(os.path.join(folder, "macro.config")))
        first = library["MacroInfo"][0]["Guid"]
        events = json.load(open(os.path.join(folder, first + ".mac")))["Events"]
        errors = [abs(int(e["Delay"]) - (40 if e["Action"] == "down" else 60))
                  for e in events[:-1]]
        long_steps = [({"cmd": "key", "name": "B", "action": "down" if i % 2 == 0 else "up"}, 0)
                      for i in range(args.long)]
        timings = record(h, long_steps)
        rows = len(h.ask({"cmd": "get", "control": "macro_action_list"})["items"])
        h.close()
    print(json.dumps({
        "events": len(events),
        "delay_error_ms": {"mean": round(statistics.mean(errors), 1), "max": max(errors)},
        "long_rows": rows,
        "longest_key_ms": round(max(timings), 1),
        "median_key_ms": round(statistics.median(timings), 2),
    }))


if __name__ == "__main__":
    main()
