#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Seeded random soak of the whole program, driven through --headless --script -.

Thousands of random user operations on the keyboard's pages (profiles, lighting, keys,
macros) interleaved with device faults, unplugs and replugs, profile changes made on the
device and program restarts on the same folders. After every step the invariants are
checked (see check_* below). A failing run is replayed with fewer steps until no step can
be left out, and the shortest failing step list is printed.

    soak.py --program build/bin/telix-tx512 --seed 7 --steps 300
"""
import argparse
import json
import os
import random
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time

KINDS_FOLDER = "TELIX TX512 keyboard Driver"
FAULTS = ["noreply", "badecho", "status_ff", "status_fe", "slow", "unplug_mid"]
CONNECT_MS = 1500
TYPE_MACRO, TYPE_MACRO_REPEAT = 0x70, 0x71
MAX_BRIGHTNESS, MAX_SPEED, FIRST_HOST_ONLY_MODE, MAX_POLLING, MAX_GROUP = 5, 4, 21, 3, 4
POSITIONS = 126
PROFILE_FILE = re.compile(r"^\d{4}_\d{2}_\d{2}_\d{2}_\d{2}_\d{2}_\d{3}(-\d+)?\.Json$")


class Violation(Exception):
    """An invariant broke; `kind` groups failures for the reduction."""

    def __init__(self, kind, detail):
        super().__init__(f"{kind}: {detail}")
        self.kind = kind


class Program:
    """One run of the program on the soak's folders, one command line at a time."""

    def __init__(self, binary, env, block_limit_ms, stats):
        self.binary, self.env, self.limit, self.stats = binary, env, block_limit_ms, stats
        self.proc = None
        self.buffer = b""
        self.refusals = {}

    def start(self):
        self.stderr = open(os.path.join(self.env["SOAK_ROOT"], "stderr.log"), "ab")
        self.starting = True  # the first answer also waits for the start-up itself
        self.proc = subprocess.Popen(
            [self.binary, "--headless", "--simulate", "--script", "-"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.stderr, env=self.env)
        self.buffer = b""

    def send(self, command, timeout_s=20.0):
        """The answer to one command; raises Violation when it is late or missing."""
        line = json.dumps(command, separators=(",", ":")) + "\n"
        started = time.monotonic()
        try:
            self.proc.stdin.write(line.encode())
            self.proc.stdin.flush()
        except BrokenPipeError:
            raise Violation("exited", f"the program was gone before {line.strip()}")
        answer = self._read_line(started + timeout_s)
        if answer is None:
            raise Violation("hang", f"no answer to {line.strip()} within {timeout_s} s")
        elapsed_ms = (time.monotonic() - started) * 1000.0
        blocked = elapsed_ms - (command.get("ms", 0) if command.get("cmd") == "wait" else 0)
        self.stats["commands"] += 1
        if self.starting:
            self.starting = False
            self.stats["longest_start_ms"] = max(self.stats["longest_start_ms"], blocked)
            return json.loads(answer)
        if blocked > self.stats["longest_block_ms"]:
            self.stats["longest_block_ms"] = blocked
            self.stats["longest_block_cmd"] = command.get("cmd") + " " + str(
                command.get("op", command.get("control", "")))
        if blocked > self.limit:
            raise Violation("slow", f"{line.strip()} answered after {blocked:.0f} ms")
        parsed = json.loads(answer)
        if not parsed.get("ok"):
            self.stats["refused"] += 1
            error = str(parsed.get("error"))[:60]
            self.refusals[error] = self.refusals.get(error, 0) + 1
        return parsed

    def _read_line(self, deadline):
        while b"\n" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            ready, _, _ = select.select([self.proc.stdout], [], [], left)
            if not ready:
                return None
            chunk = os.read(self.proc.stdout.fileno(), 65536)
            if not chunk:
                return None
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.decode()

    def quit(self):
        if self.proc is None:
            return 0
        code = None
        try:
            self.send({"cmd": "quit"})
            code = self.proc.wait(timeout=20)
        except (Violation, subprocess.TimeoutExpired):
            self.kill()
            raise Violation("quit", "the program did not end after quit")
        finally:
            self.proc = None
            self.stderr.close()
        if code != 0:
            raise Violation("exitcode", f"the program ended with {code}")
        return code

    def kill(self):
        if self.proc is not None:
            self.proc.kill()
            self.proc.wait()
            self.proc = None
            self.stderr.close()


class Soak:
    def __init__(self, binary, block_limit_ms, verbose):
        self.binary, self.limit, self.verbose = binary, block_limit_ms, verbose

    # ----- running one list of steps -------------------------------------------------

    def run(self, steps):
        """Runs the steps on fresh folders; the Violation raised, or None, and the figures."""
        root = tempfile.mkdtemp(prefix="tx512-soak-")
        env = dict(os.environ)
        for name in ("data", "config", "run", "files"):
            os.makedirs(os.path.join(root, name), mode=0o700)
        env.update(XDG_DATA_HOME=os.path.join(root, "data"),
                   XDG_CONFIG_HOME=os.path.join(root, "config"),
                   XDG_RUNTIME_DIR=os.path.join(root, "run"), SOAK_ROOT=root)
        env.pop("TX512_UPDATE_URL", None)
        self.root = root
        self.files = os.path.join(root, "files")
        self.stats = dict(steps=0, faults=0, restarts=0, checks=0, memory_checks=0, unplugs=0,
                          commands=0, refused=0,
                          longest_block_ms=0.0, longest_block_cmd="", longest_start_ms=0.0,
                          failed_at=None)
        self.program = Program(self.binary, env, self.limit, self.stats)
        self.plugged = True
        self.program.start()
        try:
            self.ask({"cmd": "wait", "ms": CONNECT_MS})
            self.check_all()
            for index, step in enumerate(steps):
                self.stats["failed_at"] = index
                if self.verbose:
                    print(f"step {index}: {json.dumps(step)}", file=sys.stderr)
                getattr(self, "step_" + step["op"])(step)
                self.stats["steps"] += 1
                self.check_all()
            self.stats["failed_at"] = None
            self.step_restart({})
            if self.verbose:
                print("refused: " + json.dumps(self.program.refusals, indent=1), file=sys.stderr)
            return None, self.stats
        except Violation as violation:
            return violation, self.stats
        finally:
            self.program.kill()
            shutil.rmtree(root, ignore_errors=True)

    def ask(self, command, timeout_s=20.0):
        return self.program.send(command, timeout_s)

    def notify(self, control, kind, **extra):
        command = {"cmd": "notify", "control": control, "type": kind, "force": True}
        command.update(extra)
        return self.ask(command)

    def status(self):
        return self.ask({"cmd": "device", "op": "status", "device": "keyboard"})

    # ----- the steps -----------------------------------------------------------------

    def step_light(self, step):
        r = step["r"]
        control, kind, extra = [
            ("light_combo_modeSelect", "itemselect", {"index": r % 12}),
            ("deng_light_slider", "valuechanged", {"value": r % 6}),
            ("deng_speed_slider", "valuechanged", {"value": r % 5}),
            ("deng_Color_Pallet", "colorchanged", {"color": 0xFF000000 | (r * 2654435761) & 0xFFFFFF}),
            ("deng_7color_check", "selectchanged", {"selected": r % 2 == 0}),
            ("deng_FXR_check", "selectchanged", {"selected": r % 2 == 1}),
            ("polling_rate_option_%d" % (r % 4), "selectchanged", {"selected": True}),
            ("6flag_option", "selectchanged", {"selected": r % 2 == 0}),
            ("winlockflag_option", "selectchanged", {"selected": r % 2 == 0}),
        ][r % 9]
        self.notify(control, kind, **extra)

    def step_setkey(self, step):
        r = step["r"]
        position = r % POSITIONS
        if r % 5 == 0:
            # A key that plays one of the first macros (the library may have fewer).
            assignment = TYPE_MACRO << 16 | ((r >> 3) % 4) << 8 | 1
        else:
            assignment = 0x200000 | (4 + (r >> 3) % 0x60)
        self.ask({"cmd": "device", "op": "setkey", "device": "keyboard", "position": position,
                  "assignment": assignment})

    def step_apply(self, step):
        op = ["applykeys", "applyprofile", "writesettings"][step["r"] % 3]
        self.ask({"cmd": "device", "op": op, "device": "keyboard"})

    def step_keysave(self, step):
        self.notify("key_butt_prosave", "click")

    def step_profile(self, step):
        r = step["r"]
        action = ["add", "copy", "rename", "delete", "switch", "switch", "export_import",
                  "import_garbage", "reset"][r % 9]
        count = len(self.combo_items())
        if action == "add":
            self.notify("device_add_btn", "click")
        elif action == "copy":
            self.notify("device_copy_btn", "click")
        elif action == "rename":
            self.notify("device_profile_name_edit", "textchanged", text=f"soak {r % 97}")
            self.notify("device_profile_edit_save_btn", "click")
        elif action == "delete":
            self.ask({"cmd": "answer", "result": 1})
            self.notify("device_sub_btn", "click")
        elif action == "switch" and count > 0:
            self.notify("device_profile_combo", "itemselect", index=r % count)
            self.ask({"cmd": "wait", "ms": 450})
        elif action == "export_import":
            path = os.path.join(self.files, f"profile{r % 5}.Json")
            self.ask({"cmd": "dialog", "path": path})
            self.notify("device_export_btn", "click")
            self.ask({"cmd": "dialog", "path": path})
            self.notify("device_import_btn", "click")
        elif action == "import_garbage":
            path = os.path.join(self.files, "garbage.Json")
            with open(path, "w") as f:
                f.write(['{"profilename":"x"}', "[1,2", '{"Device":[]}', "\u00e9"][r % 4])
            self.ask({"cmd": "dialog", "path": path})
            self.notify("device_import_btn", "click")
        elif action == "reset":
            self.ask({"cmd": "answer", "result": 1})
            self.notify("device_reset_btn", "click")
        self.ask({"cmd": "dialog", "cancel": True})
        self.drain_dialogs()

    def step_macro(self, step):
        r = step["r"]
        self.notify("macro_Op_tab", "selectchanged", selected=True)
        names = self.ask({"cmd": "get", "control": "macro_name_list"}).get("items", [])
        action = ["add", "add", "event", "event", "delete", "rename", "export_import", "select"][r % 8]
        if action == "add":
            self.notify("macro_btn_name_add", "click")
        elif names and action == "event":
            self.notify("macro_name_list", "itemselect", index=r % len(names))
            self.ask({"cmd": "menu", "item": ["left_click", "right_click", "middle_click"][r % 3]})
        elif names and action == "delete":
            self.notify("macro_name_list", "itemselect", index=r % len(names))
            self.ask({"cmd": "answer", "result": 1})
            self.ask({"cmd": "answer", "result": 1})
            self.notify("macro_btn_name_sub", "click")
        elif names and action == "rename":
            self.notify("macro_name_list", "itemselect", index=r % len(names))
            self.notify("macro_edit_macroname", "textchanged", text=f"m{r % 31}")
            self.notify("macro_btn_name_edit", "click")
        elif names and action == "export_import":
            path = os.path.join(self.files, f"m{r % 3}.mac")
            self.notify("macro_name_list", "itemselect", index=r % len(names))
            self.ask({"cmd": "dialog", "path": path})
            self.notify("macro_btn_export", "click")
            self.ask({"cmd": "dialog", "path": path})
            self.notify("macro_btn_import", "click")
        elif names:
            self.notify("macro_name_list", "itemselect", index=r % len(names))
        self.ask({"cmd": "answer", "result": 0})
        self.ask({"cmd": "dialog", "cancel": True})
        self.drain_dialogs()
        self.notify("deng_Op_tab", "selectchanged", selected=True)

    def step_fault(self, step):
        r = step["r"]
        command = {"cmd": "sim", "device": "keyboard", "op": "fault",
                   "fault": FAULTS[r % len(FAULTS)], "count": 1 + r % 2}
        if command["fault"] == "slow":
            command["delay"] = 300 + r % 1500
        if self.plugged and self.ask(command).get("ok"):
            self.stats["faults"] += 1
            if command["fault"] == "unplug_mid":
                self.plugged = None  # unknown until the next write meets the fault

    def step_unplug(self, step):
        if self.ask({"cmd": "sim", "device": "keyboard", "op": "unplug"}).get("ok"):
            self.stats["unplugs"] += 1
        self.plugged = False
        self.ask({"cmd": "wait", "ms": step["r"] % 300})

    def step_plug(self, step):
        self.ask({"cmd": "sim", "device": "keyboard", "op": "plug"})
        self.plugged = True
        self.ask({"cmd": "wait", "ms": step["r"] % 2000})

    def step_device_profile(self, step):
        self.ask({"cmd": "sim", "device": "keyboard", "op": "profile", "index": step["r"] % 4})
        self.ask({"cmd": "wait", "ms": step["r"] % 400})

    def step_device_event(self, step):
        self.ask({"cmd": "sim", "device": "keyboard", "op": "event", "usage": 0x0401})

    def step_wait(self, step):
        self.ask({"cmd": "wait", "ms": step["r"] % 700})

    def step_restart(self, step):
        """Quits and starts again on the same folders: the same profiles must come back."""
        self.settle()
        before = self.profile_files()
        names = self.combo_items()
        self.program.quit()
        self.stats["restarts"] += 1
        self.program.start()
        self.plugged = True
        self.ask({"cmd": "wait", "ms": CONNECT_MS})
        after_names = self.combo_items()
        if self.verbose:
            macros = self.ask({"cmd": "get", "control": "macro_name_list"}).get("items", [])
            print(f"restart: profiles {after_names}, macros {macros}", file=sys.stderr)
        if after_names != names:
            raise Violation("restart", f"profiles {names} came back as {after_names}")
        after = self.profile_files()
        for uuid, document in before.items():
            if after.get(uuid, {}).get("Device") != document.get("Device"):
                raise Violation("restart", f"profile {uuid} changed across a restart")

    def step_checkpoint(self, step):
        """Everything written: the keyboard's memory must be what the current profile says."""
        for attempt in range(4):
            self.settle()
            self.ask({"cmd": "device", "op": "applyprofile", "device": "keyboard"})
            last = self.wait_idle()["last"]
            if last.get("op") == "applyprofile" and last.get("keys") == "written" \
                    and last.get("settings") == 1 and not last.get("cancelled"):
                self.check_device_memory()
                return
            # A connection that could not read the key table gets a fresh one.
            self.step_unplug({"r": 0})
            self.step_plug({"r": CONNECT_MS})
        raise Violation("checkpoint", f"the profile could not be written: {last}")

    # ----- helpers ---------------------------------------------------------------------

    def settle(self):
        self.ask({"cmd": "sim", "device": "keyboard", "op": "fault", "fault": "clear"})
        if self.plugged is not True or not self.status().get("connected"):
            self.ask({"cmd": "sim", "device": "keyboard", "op": "plug"})
            self.plugged = True
            self.ask({"cmd": "wait", "ms": CONNECT_MS})
        self.ask({"cmd": "wait", "ms": 500})
        self.wait_idle()

    def wait_idle(self):
        for _ in range(100):
            status = self.status()
            if status.get("idle"):
                return status
            self.ask({"cmd": "wait", "ms": 100})
        raise Violation("hang", "the keyboard's work never finished")

    def drain_dialogs(self):
        self.ask({"cmd": "dialogs"})
        self.ask({"cmd": "messages"})

    def combo_items(self):
        return self.ask({"cmd": "get", "control": "keyboard_device_page/device_profile_combo"}
                        ).get("items", [])

    def kind_folder(self):
        return os.path.join(self.root, "data", KINDS_FOLDER, "keyboard")

    def profile_files(self):
        folder = self.kind_folder()
        found = {}
        for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
            if PROFILE_FILE.match(name):
                found[name[:-5]] = load_json(os.path.join(folder, name))
        return found

    # ----- invariants ------------------------------------------------------------------

    def check_all(self):
        self.check_files()
        self.stats["checks"] += 1

    def check_files(self):
        """Every data file parses and has its layout; the list and the profiles agree."""
        folder = self.kind_folder()
        if not os.path.isdir(folder):
            return
        for name in os.listdir(folder):
            path = os.path.join(folder, name)
            if ".unreadable-" in name or not os.path.isfile(path):
                continue
            if name.endswith((".Json", ".config", ".ini", ".mac", ".light")):
                document = load_json(path)
                if PROFILE_FILE.match(name):
                    check_profile_layout(name, document)
                elif name.endswith(".mac"):
                    check_macro_layout(name, document)
                elif name == "macro.config":
                    check_macro_list(document)
        listing = os.path.join(folder, "ProfileList.ini")
        if not os.path.exists(listing):
            return
        document = load_json(listing)
        entries = document.get("profilelist")
        if not isinstance(entries, list) or not entries:
            raise Violation("layout", "ProfileList.ini has no profiles")
        select_index = document.get("profileselect", 0)
        if not isinstance(select_index, int) or not 0 <= select_index < len(entries):
            raise Violation("layout", f"profileselect {select_index} of {len(entries)}")
        for entry in entries:
            uuid, name = entry.get("profileUUID"), entry.get("profilename")
            if not isinstance(uuid, str) or not isinstance(name, str):
                raise Violation("layout", f"list entry {entry}")
            path = os.path.join(folder, uuid + ".Json")
            if not os.path.exists(path):
                raise Violation("lost", f"profile {name} ({uuid}) has no file")
            profile = load_json(path)
            if profile.get("profileUUID") != uuid or profile.get("profilename") != name:
                raise Violation("disagree", f"list says {name}/{uuid}, file says "
                                f"{profile.get('profilename')}/{profile.get('profileUUID')}")

    def current_section(self):
        folder = self.kind_folder()
        document = load_json(os.path.join(folder, "ProfileList.ini"))
        entry = document["profilelist"][document.get("profileselect", 0)]
        return load_json(os.path.join(folder, entry["profileUUID"] + ".Json"))["Device"][0]

    def check_device_memory(self):
        self.stats["checks"] += 1
        self.stats["memory_checks"] += 1
        section = self.current_section()
        memory = self.ask({"cmd": "sim", "device": "keyboard", "op": "memory"})
        settings = bytes.fromhex(memory["settings"])
        expected = encode_settings(section.get("LightInfo", {}), section.get("SystemStages", {}))
        for offset, value in expected.items():
            if settings[offset] != value:
                raise Violation("memory", f"settings byte {offset} is {settings[offset]}, "
                                f"the profile says {value}")
        table = bytes.fromhex(memory["keytable"])
        slots = self.status()["slots"]
        keys = section.get("KeyList", [])
        for position in range(min(POSITIONS, len(keys))):
            slot = slots[position]
            if slot == 255 or 3 * slot + 2 >= len(table):
                continue
            entry = table[3 * slot:3 * slot + 3]
            current = keys[position].get("Assignment", 0)
            default = keys[position].get("DefaultAssignment", 0)
            wanted = [(current >> 16) & 0xFF, (current >> 8) & 0xFF, current & 0xFF]
            if wanted[0] in (TYPE_MACRO, TYPE_MACRO_REPEAT):
                # Macros are renumbered on the device; one the library lacks plays the default.
                fallback = [(default >> 16) & 0xFF, (default >> 8) & 0xFF, default & 0xFF]
                if entry[0] == wanted[0] and entry[2] == wanted[2] or list(entry) == fallback:
                    continue
            elif list(entry) == wanted:
                continue
            raise Violation("memory", f"key {position} (slot {slot}) holds {entry.hex()}, "
                            f"the profile says {current:06x}")


def encode_settings(light, stages):
    """Byte offset -> value of settings block 0 for the profile's lighting and switches."""
    mode = light.get("SelectItem", 0) & 0xFF
    return {
        1: 0 if mode >= FIRST_HOST_ONLY_MODE else mode,
        2: min(light.get("Light", 0) & 0xFF, MAX_BRIGHTNESS),
        3: MAX_SPEED - min(light.get("Speed", 0) & 0xFF, MAX_SPEED),
        4: 1 if light.get("Fx", 0) & 0xFF else 0,
        5: 1 if light.get("MultiColor", 0) else 0,
        6: light.get("Red", 0) & 0xFF,
        7: light.get("Green", 0) & 0xFF,
        8: light.get("Blue", 0) & 0xFF,
        18: light.get("ZZCCLedMode", 0) & 0xFF,
        19: 1 if stages.get("WFlag", 0) & 0xFFFF else 0,
        20: 1 if stages.get("Key6Flag", 0) & 0xFFFF == 0 else 0,
        21: 1 if stages.get("WinFlag", 0) & 0xFFFF else 0,
        22: min(stages.get("PollingRate", 0) & 0xFFFF, MAX_POLLING),
        25: min(light.get("CustomGroup", 0) & 0xFF, MAX_GROUP),
    }


def load_json(path):
    try:
        with open(path, "rb") as f:
            return json.loads(f.read().decode("utf-8"))
    except (OSError, ValueError) as error:
        raise Violation("file", f"{os.path.basename(path)} does not read as JSON: {error}")


def check_profile_layout(name, document):
    section = document.get("Device", [None])[0] if isinstance(document, dict) else None
    if not isinstance(section, dict) or not isinstance(section.get("KeyList"), list) \
            or not isinstance(section.get("LightInfo"), dict):
        raise Violation("layout", f"{name} has no usable keyboard section")
    for key in section["KeyList"]:
        if not isinstance(key, dict) or not isinstance(key.get("Assignment", 0), int):
            raise Violation("layout", f"{name}: key entry {key}")


def check_macro_layout(name, document):
    if not isinstance(document, dict) or document.get("Version") != 64:
        raise Violation("layout", f"{name} is no macro file")
    for event in document.get("Events", []):
        if not isinstance(event, dict) or event.get("Action") not in ("down", "up") \
                or not isinstance(event.get("Delay"), str):
            raise Violation("layout", f"{name}: event {event}")


def check_macro_list(document):
    entries = document.get("MacroInfo", []) if isinstance(document, dict) else None
    if not isinstance(entries, list) or len(entries) > 50:
        raise Violation("layout", "macro.config holds no list of at most 50 macros")
    for entry in entries:
        if not isinstance(entry.get("MacroName"), str) or not isinstance(entry.get("Guid"), str):
            raise Violation("layout", f"macro.config entry {entry}")


# What a step does, weighted: the user's own operations most, the device's misfortunes less.
WEIGHTS = [("light", 14), ("setkey", 12), ("apply", 6), ("keysave", 3), ("profile", 14),
           ("macro", 10), ("fault", 9), ("unplug", 3), ("plug", 4), ("device_profile", 3),
           ("device_event", 3), ("wait", 6), ("checkpoint", 4), ("restart", 1)]


def make_steps(seed, count):
    rng = random.Random(seed)
    names = [name for name, _ in WEIGHTS]
    weights = [weight for _, weight in WEIGHTS]
    steps = [{"op": rng.choices(names, weights)[0], "r": rng.randrange(1 << 30)}
             for _ in range(count)]
    # Every run ends with the device's memory compared against the profile.
    steps.append({"op": "checkpoint", "r": 0})
    return steps


def reduce_steps(soak, steps, kind, budget_s):
    """Delta debugging: leaves out chunks of steps while the run still fails the same way."""
    deadline = time.monotonic() + budget_s
    chunks = 2
    while len(steps) >= 2 and time.monotonic() < deadline:
        size = max(1, len(steps) // chunks)
        reduced = False
        for start in range(0, len(steps), size):
            candidate = steps[:start] + steps[start + size:]
            violation, _ = soak.run(candidate)
            if violation is not None and violation.kind == kind:
                steps, chunks, reduced = candidate, max(chunks - 1, 2), True
                break
            if time.monotonic() >= deadline:
                break
        if not reduced:
            if size == 1:
                break
            chunks = min(len(steps), chunks * 2)
    return steps


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--steps", type=int, default=300)
    parser.add_argument("--block-limit-ms", type=float, default=200.0)
    parser.add_argument("--reduce-minutes", type=float, default=10.0)
    parser.add_argument("--replay", help="a file of steps (one JSON object a line) to run instead")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()

    soak = Soak(os.path.abspath(args.program), args.block_limit_ms, args.verbose)
    if args.replay:
        with open(args.replay) as f:
            steps = [json.loads(line) for line in f if line.strip()]
    else:
        steps = make_steps(args.seed, args.steps)
    started = time.monotonic()
    violation, stats = soak.run(steps)
    stats["seconds"] = round(time.monotonic() - started, 1)
    stats["longest_block_ms"] = round(stats["longest_block_ms"], 1)
    stats["longest_start_ms"] = round(stats["longest_start_ms"], 1)
    print("soak seed %d: %s" % (args.seed, json.dumps(stats, sort_keys=True)))
    if violation is None:
        print("soak: passed")
        return 0
    print(f"soak: FAILED at step {stats['failed_at']}: {violation}")
    last = stats["failed_at"] if stats["failed_at"] is not None else len(steps) - 1
    failing = steps[:last + 1]
    shortest = reduce_steps(soak, failing, violation.kind, args.reduce_minutes * 60)
    print(f"soak: shortest failing step list ({len(shortest)} steps; replay it with --replay FILE):")
    for step in shortest:
        print(json.dumps(step))
    return 1


if __name__ == "__main__":
    sys.exit(main())
