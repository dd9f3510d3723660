#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What "Save to keyboard" of the key page sends, counted on the simulated keyboard's wire.

    bench/app/keyset_figures.py build/bin/telix-tx512

One key is given a media function, then "key_butt_prosave" is clicked; the reports the
program wrote meanwhile are counted by command code. The protocol's minimum for a key table
of S slots is one begin, ceil(3 S / 56) table writes and one end; the write routines also
refresh the information block once each for the macros and for the keys. Prints one JSON
object.
"""
import collections
import json
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from shell_figures import Headless, sandbox_env  # noqa: E402

NAMES = {1: "begin", 2: "end", 3: "info", 9: "keytable", 21: "macros"}


def main():
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as root:
        h = Headless(program, sandbox_env(root))
        h.ask({"cmd": "wait", "ms": 1500})
        h.ask({"cmd": "notify", "control": "key_Op_tab", "type": "selectchanged", "selected": True})
        h.ask({"cmd": "notify", "control": "key_30", "type": "click"})
        h.ask({"cmd": "notify", "control": "keyset_function_combo", "type": "itemselect", "index": 7})
        h.ask({"cmd": "notify", "control": "keyset_media_combo", "type": "itemselect", "index": 1})
        h.ask({"cmd": "sim", "device": "keyboard", "op": "wirelog"})
        h.ask({"cmd": "notify", "control": "key_butt_prosave", "type": "click"})
        h.ask({"cmd": "wait", "ms": 1500})
        log = h.ask({"cmd": "sim", "device": "keyboard", "op": "wirelog"})["log"]
        # The slots run 0 .. S - 1; keys of the picture use most of them.
        slots = 1 + max(s for s in h.ask({"cmd": "device", "op": "status"})["slots"] if s != 255)
        h.close()
    codes = [int(e["hex"][6:8], 16) for e in log if e["dir"] == "out"]  # byte 3: the command
    counted = collections.Counter(NAMES.get(c, str(c)) for c in codes)
    minimum = 2 + -(-3 * slots // 56)
    print(json.dumps({"reports": len(codes), "by_command": counted, "minimum": minimum,
                      "key_slots": slots}))


if __name__ == "__main__":
    main()
