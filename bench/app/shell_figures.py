#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up time, peak memory, CPU and wake-ups of the program, measured from outside.

    bench/app/shell_figures.py build/bin/telix-tx512 [--seconds 20] [--json FILE]

Each run gets fresh XDG folders and the simulated keyboard and pad. For each lighting mode
of the keyboard (4 spectrum, 20 custom colours streamed by the program, 28 off) it measures
  hidden   the headless program with its window closed into the tray
  shown    the desktop renderer (Qt's offscreen platform) with the window shown and the
           keyboard's page, so the preview runs
CPU is user+system time from /proc/PID/stat over --seconds, given per minute; wake-ups are
the context switches of all the process's threads from /proc/PID/task/*/status, per second.
Start-up is the time from process start until the main window is shown (headless: the
"window" command reports it visible; desktop: the window's activation line in the trace),
peak memory the VmHWM at the end of the run. --json writes every figure to FILE.
"""
import argparse
import json
import os
import platform
import subprocess
import sys
import tempfile
import time

MODES = {4: "spectrum", 20: "custom", 28: "off"}


def sandbox_env(root):
    env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_") and k != "TX512_TRACE"}
    for sub in ("data", "config", "runtime"):
        os.makedirs(os.path.join(root, sub), mode=0o700, exist_ok=True)
    env["XDG_DATA_HOME"] = os.path.join(root, "data")
    env["XDG_CONFIG_HOME"] = os.path.join(root, "config")
    env["XDG_RUNTIME_DIR"] = os.path.join(root, "runtime")
    return env


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks


def context_switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass  # a thread that ended between the listing and the read
    return total


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def measure(pid, seconds):
    cpu0, sw0, t0 = cpu_seconds(pid), context_switches(pid), time.monotonic()
    time.sleep(seconds)
    cpu1, sw1, t1 = cpu_seconds(pid), context_switches(pid), time.monotonic()
    span = t1 - t0
    return {"cpu_ms_per_minute": round((cpu1 - cpu0) * 60000.0 / span),
            "wakeups_per_second": round((sw1 - sw0) / span, 1)}


class Headless:
    def __init__(self, program, env):
        self.p = subprocess.Popen([program, "--headless", "--script", "-", "--simulate"],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env, text=True)

    def ask(self, command):
        self.p.stdin.write(json.dumps(command) + "\n")
        self.p.stdin.flush()
        return json.loads(self.p.stdout.readline())

    def wait_shown(self):
        while not self.ask({"cmd": "window"}).get("visible"):
            self.ask({"cmd": "wait", "ms": 5})

    def pick_mode(self, mode):
        self.ask({"cmd": "wait", "ms": 1500})  # connections
        answer = self.ask({"cmd": "notify", "control": "light_combo_modeSelect",
                           "type": "itemselect", "index": mode})
        if not answer.get("ok"):
            raise RuntimeError(f"mode {mode} not picked: {answer}")
        self.ask({"cmd": "wait", "ms": 1000})  # written to the keyboard and the profile

    def close(self):
        self.ask({"cmd": "quit"})
        self.p.wait(timeout=20)


def hidden_run(program, mode, seconds):
    with tempfile.TemporaryDirectory() as root:
        start = time.monotonic()
        h = Headless(program, sandbox_env(root))
        h.wait_shown()
        startup = time.monotonic() - start
        h.pick_mode(mode)
        h.ask({"cmd": "notify", "control": "closebtn", "type": "click"})
        h.ask({"cmd": "wait", "ms": 200})
        figures = measure(h.p.pid, seconds)
        figures["startup_ms"] = round(startup * 1000)
        figures["peak_mib"] = round(peak_kib(h.p.pid) / 1024, 1)
        h.close()
        return figures


def shown_run(program, mode, seconds):
    with tempfile.TemporaryDirectory() as root:
        env = sandbox_env(root)
        # The mode is chosen by a headless run first; the keyboard and the profile keep it.
        h = Headless(program, env)
        h.wait_shown()
        h.pick_mode(mode)
        h.close()

        env["QT_QPA_PLATFORM"] = "offscreen"
        trace = os.path.join(root, "trace.txt")
        env["TX512_TRACE"] = trace
        start = time.monotonic()
        p = subprocess.Popen([program, "--simulate"], env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        startup = None
        while time.monotonic() - start < 20:
            if os.path.exists(trace) and "软件标示 " in open(trace, encoding="utf-8", errors="replace").read():
                startup = time.monotonic() - start
                break
            time.sleep(0.002)
        time.sleep(2.0)
        # A mode of 21 or more is the program's own and does not survive a restart (the
        # keyboard is told 0): the command line sets it in the running copy.
        if mode >= 21:
            done = subprocess.run([program, "light", "mode", str(mode)], env=env, timeout=30,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if done.returncode != 0:
                p.terminate()
                p.wait(timeout=20)
                return None
            time.sleep(1.0)
        figures = measure(p.pid, seconds)
        figures["startup_ms"] = None if startup is None else round(startup * 1000)
        figures["peak_mib"] = round(peak_kib(p.pid) / 1024, 1)
        p.terminate()
        p.wait(timeout=20)
        return figures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--seconds", type=float, default=20.0)
    parser.add_argument("--modes", default="4,20,28")
    parser.add_argument("--json", help="write the figures to this file")
    args = parser.parse_args()
    result = {"program": args.program, "seconds": args.seconds, "cpus": os.cpu_count(),
              "machine": platform.platform(), "runs": []}
    for mode in (int(m) for m in args.modes.split(",")):
        for kind, run in (("hidden", hidden_run), ("shown", shown_run)):
            figures = run(args.program, mode, args.seconds)
            if figures is None:
                print(f"mode {mode:2} window {kind:6}: this program cannot be put in this mode")
                continue
            figures.update({"mode": mode, "window": kind})
            result["runs"].append(figures)
            print(f"mode {mode:2} ({MODES.get(mode, '?'):8}) window {kind:6}: "
                  f"CPU {figures['cpu_ms_per_minute']:6} ms/min, "
                  f"{figures['wakeups_per_second']:6} wake-ups/s, "
                  f"start-up {figures['startup_ms']} ms, peak {figures['peak_mib']} MiB", flush=True)
    if args.json:
        with open(args.json, "w") as f:
            json.dump(result, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
