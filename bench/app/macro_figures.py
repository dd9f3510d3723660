#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What long macros cost the window, measured from outside.

    bench/app/macro_figures.py build/bin/telix-tx512 [--rows 4000] [--runs 5]

The program runs headless with the simulated keyboard in fresh XDG folders whose macro
library holds one macro of --rows events (keys pressed and released). Each figure is the
round trip of one command that makes the editor do the work on the UI loop, so it is also
the longest time the window did not answer meanwhile:

  load_ms    picking the macro in "macro_name_list": the file is read and a row built per
             event ("itemselect" answered once the rows are there)
  save_ms    "macro_btn_save": every row's event and delay written to the file
  insert_ms  the row menu's "left_click" on the first row: two rows inserted, then saved
  idle_ms    a "get" with nothing to do, for comparison

Medians over --runs; prints one JSON object.
"""
import argparse
import json
import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from shell_figures import Headless, sandbox_env  # noqa: E402

FOLDER = ("data", "TELIX TX512 keyboard Driver", "keyboard")


def write_library(root, rows):
    folder = os.path.join(root, *FOLDER)
    os.makedirs(folder, exist_ok=True)
    events = [{"Type": 10, "Button": 4 + (i // 2) % 26, "Action": "down" if i % 2 == 0 else "up",
               "Delay": str(i % 100)} for i in range(rows)]
    with open(os.path.join(folder, "macro.config"), "w") as f:
        json.dump({"MacroInfo": [{"MacroName": "short", "Guid": "s"},
                                 {"MacroName": "long", "Guid": "g"}]}, f)
    with open(os.path.join(folder, "g.mac"), "w") as f:
        json.dump({"MacroName": "long", "Guid": "g", "Events": events, "Version": 64}, f)


def timed(h, command):
    start = time.monotonic()
    answer = h.ask(command)
    elapsed = (time.monotonic() - start) * 1000
    if not answer.get("ok"):
        raise RuntimeError(f"{command}: {answer}")
    return elapsed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--rows", type=int, default=4000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    figures = {"load_ms": [], "save_ms": [], "insert_ms": [], "idle_ms": []}
    with tempfile.TemporaryDirectory() as root:
        env = sandbox_env(root)
        write_library(root, args.rows)
        h = Headless(args.program, env)
        h.ask({"cmd": "wait", "ms": 1500})
        h.ask({"cmd": "notify", "control": "macro_Op_tab", "type": "selectchanged", "selected": True})
        for _ in range(args.runs):
            timed(h, {"cmd": "notify", "control": "macro_name_list", "type": "itemselect", "index": 0})
            figures["load_ms"].append(timed(h, {"cmd": "notify", "control": "macro_name_list",
                                                "type": "itemselect", "index": 1}))
            figures["save_ms"].append(timed(h, {"cmd": "notify", "control": "macro_btn_save",
                                                "type": "click"}))
            h.ask({"cmd": "notify", "control": "macro_action_list", "type": "itemselect", "index": 0})
            figures["insert_ms"].append(timed(h, {"cmd": "menu", "item": "left_click"}))
            figures["idle_ms"].append(timed(h, {"cmd": "get", "control": "macro_btn_save"}))
        rows = len(h.ask({"cmd": "get", "control": "macro_action_list"})["items"])
        h.close()
    result = {k: round(statistics.median(v), 1) for k, v in figures.items()}
    result["rows"] = rows
    result["runs"] = args.runs
    print(json.dumps(result))


if __name__ == "__main__":
    main()
