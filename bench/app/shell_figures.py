#!/usr/bin/env python3
"""Start-up time, peak memory and idle CPU of the program, measured from outside.

    bench/app/shell_figures.py build/bin/telix-tx512 [--seconds 60]

Each run gets fresh XDG folders. Figures:
  start-up      process start until the main window is shown after the first scan:
                headless (time until the "window" command reports it visible) and on the
                desktop renderer (Qt's offscreen platform; time until the window's
                activation line appears in the trace)
  peak memory   VmHWM of the process at the end of each run
  idle CPU      user+system CPU time over --seconds with the simulated keyboard and pad
                connected and nothing happening: window hidden in the tray (headless,
                closed with "closebtn") and window shown (desktop renderer, preview running)
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import time


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


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


class Headless:
    def __init__(self, program, env):
        self.p = subprocess.Popen([program, "--headless", "--script", "-", "--simulate"],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env, text=True)

    def ask(self, command):
        self.p.stdin.write(json.dumps(command) + "\n")
        self.p.stdin.flush()
        return json.loads(self.p.stdout.readline())

    def close(self):
        self.ask({"cmd": "quit"})
        self.p.wait(timeout=20)


def headless_run(program, seconds):
    with tempfile.TemporaryDirectory() as root:
        start = time.monotonic()
        h = Headless(program, sandbox_env(root))
        while not h.ask({"cmd": "window"}).get("visible"):
            h.ask({"cmd": "wait", "ms": 5})
        startup = time.monotonic() - start
        h.ask({"cmd": "wait", "ms": 1500})  # connections and the first preview frames
        h.ask({"cmd": "notify", "control": "closebtn", "type": "click"})
        before = cpu_seconds(h.p.pid)
        time.sleep(seconds)
        idle = cpu_seconds(h.p.pid) - before
        peak = peak_kib(h.p.pid)
        h.close()
        return startup, idle, peak


def desktop_run(program, seconds):
    with tempfile.TemporaryDirectory() as root:
        env = sandbox_env(root)
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
        time.sleep(1.5)
        before = cpu_seconds(p.pid)
        time.sleep(seconds)
        idle = cpu_seconds(p.pid) - before
        peak = peak_kib(p.pid)
        p.terminate()
        p.wait(timeout=20)
        return startup, idle, peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--seconds", type=float, default=60.0)
    args = parser.parse_args()
    per_minute = 60.0 / args.seconds
    s, idle, peak = headless_run(args.program, args.seconds)
    print(f"headless: start-up to shown window {s * 1000:.0f} ms; peak memory {peak / 1024:.1f} MiB; "
          f"idle CPU, window hidden, keyboard and pad connected: {idle * per_minute * 1000:.0f} ms per minute")
    s, idle, peak = desktop_run(args.program, args.seconds)
    shown = "n/a" if s is None else f"{s * 1000:.0f} ms"
    print(f"desktop (Qt offscreen): start-up to shown window {shown}; peak memory {peak / 1024:.1f} MiB; "
          f"idle CPU, window shown, preview running: {idle * per_minute * 1000:.0f} ms per minute")
    return 0


if __name__ == "__main__":
    sys.exit(main())
