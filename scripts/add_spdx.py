#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Puts the licence's SPDX line at the top of every source file of the tree.

  add_spdx.py [ROOT]           add the line where it is missing (ROOT: the source tree)
  add_spdx.py --check [ROOT]   list the files without it; exit 1 if there are any

Running it twice changes nothing the second time. A file that names another licence is
listed and left alone. The line goes after a "#!" line and a Python coding line, which
must stay first."""
import os
import re
import subprocess
import sys

LICENCE = "GPL-3.0-or-later"
TAG = "SPDX-License-Identifier:"
SLASH = "// "
HASH = "# "
# The comment each kind of source file takes, by the end of its name ("x.h.in" is a header).
SUFFIXES = {
    ".cpp": SLASH, ".cc": SLASH, ".c": SLASH, ".h": SLASH, ".hpp": SLASH, ".h.in": SLASH,
    ".py": HASH, ".sh": HASH, ".cmake": HASH, ".bash-completion": HASH,
}
NAMES = {"CMakeLists.txt": HASH}
SKIPPED_FOLDERS = {".git", "corpus"}  # fuzz seeds are inputs, not sources
CODING = re.compile(r"^[ \t\f]*#.*?coding[:=]")
HEAD_LINES = 3  # where the line may sit: below a "#!" and a coding line at most


def comment_of(path):
    name = os.path.basename(path)
    if name in NAMES:
        return NAMES[name]
    for suffix, comment in SUFFIXES.items():
        if name.endswith(suffix):
            return comment
    try:
        with open(path, "rb") as f:
            first = f.readline()
    except OSError:
        return None
    # Scripts without an extension (maintainer scripts) say what they are on their first line.
    if first.startswith(b"#!") and re.search(rb"\b(sh|bash|python3?)\b", first):
        return HASH
    return None


def tracked_files(root):
    """The files git knows (so that build folders and scratch files are never touched), or
    every file below root when it is not a git checkout."""
    try:
        out = subprocess.run(["git", "-C", root, "ls-files", "-z"], capture_output=True, check=True).stdout
        return [os.path.join(root, name) for name in out.decode("utf-8").split("\0") if name]
    except (OSError, subprocess.CalledProcessError):
        pass
    found = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIPPED_FOLDERS and not d.startswith("build")
                   and not os.path.exists(os.path.join(folder, d, "CMakeCache.txt"))]
        found.extend(os.path.join(folder, name) for name in files)
    return found


def source_files(root):
    for path in sorted(tracked_files(root)):
        parts = os.path.relpath(path, root).split(os.sep)
        if any(part in SKIPPED_FOLDERS for part in parts) or not os.path.isfile(path) or os.path.islink(path):
            continue
        comment = comment_of(path)
        if comment is not None:
            yield path, comment


def head_index(lines):
    """Where the line goes: past a "#!" line and a coding line."""
    index = 0
    if lines and lines[0].startswith("#!"):
        index = 1
    if len(lines) > index and CODING.match(lines[index]):
        index += 1
    return index


def licence_of(lines):
    for line in lines[:HEAD_LINES]:
        if TAG in line:
            return line.split(TAG, 1)[1].strip().rstrip("*/").strip()
    return None


def with_line(text, comment):
    """The file's text with the line added, or None when it already names a licence."""
    lines = text.splitlines(keepends=True)
    if licence_of(lines) is not None:
        return None
    newline = "\r\n" if lines and lines[0].endswith("\r\n") else "\n"
    if lines and not lines[-1].endswith(("\n", "\r")):
        lines[-1] += newline
    index = head_index(lines)
    lines.insert(index, comment + TAG + " " + LICENCE + newline)
    return "".join(lines)


def main(argv):
    check = "--check" in argv
    rest = [a for a in argv if a != "--check"]
    if len(rest) > 1 or any(a.startswith("-") for a in rest):
        print(__doc__, file=sys.stderr)
        return 2
    root = os.path.abspath(rest[0] if rest else os.path.join(os.path.dirname(__file__), ".."))
    missing, foreign, changed = [], [], 0
    for path, comment in source_files(root):
        with open(path, encoding="utf-8", newline="") as f:
            text = f.read()
        named = licence_of(text.splitlines())
        rel = os.path.relpath(path, root)
        if named is not None:
            if named != LICENCE:
                foreign.append("%s (%s)" % (rel, named))
            continue
        if check:
            missing.append(rel)
            continue
        mode = os.stat(path).st_mode
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(with_line(text, comment))
        os.chmod(path, mode)
        changed += 1
    for rel in missing:
        print("no SPDX line:", rel)
    for rel in foreign:
        print("another licence:", rel)
    if check:
        if missing:
            print("%d files lack the line; scripts/add_spdx.py adds it" % len(missing))
        return 1 if missing or foreign else 0
    print("%d files given the SPDX line" % changed)
    return 1 if foreign else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
