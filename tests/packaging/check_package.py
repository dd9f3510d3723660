#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The installed tree and the Debian package, checked file by file.

  check_package.py install BUILD_DIR CMAKE   cmake --install into a scratch root
  check_package.py deb BUILD_DIR CPACK       cpack -G DEB, then the package's list and control,
                                             and lintian's verdict on it

Exits non-zero with every problem listed."""
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
EXPECTED = [
    "usr/bin/telix-tx512",
    "usr/lib/telix-tx512/telix-tx512",
    "usr/share/telix-tx512/skin/res.xml",
    "usr/share/telix-tx512/skin/lan_en.xml",
    "usr/share/telix-tx512/DefaultData/keyboard.Json",
    "usr/share/telix-tx512/DefaultData/Language.config",
    "usr/share/doc/telix-tx512/copyright",
    "usr/share/doc/telix-tx512/changelog.Debian.gz",
    "usr/lib/udev/rules.d/60-telix-tx512.rules",
    "usr/share/applications/telix-tx512.desktop",
    "usr/share/metainfo/io.telix.tx512.metainfo.xml",
    "usr/share/icons/hicolor/scalable/apps/telix-tx512.svg",
    "usr/share/man/man1/telix-tx512.1.gz",
    "usr/share/bash-completion/completions/telix-tx512",
] + ["usr/share/icons/hicolor/%dx%d/apps/telix-tx512.png" % (s, s) for s in ICON_SIZES]

problems = []


def check(condition, what):
    if not condition:
        problems.append(what)


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def check_tree(root):
    for rel in EXPECTED:
        check(os.path.lexists(os.path.join(root, rel)), "missing: " + rel)
    for top in os.listdir(root):
        check(top == "usr", "installed outside /usr: " + top)
    binary = os.path.join(root, "usr/lib/telix-tx512/telix-tx512")
    check(os.access(binary, os.X_OK), "the program is not executable")
    # The stand-in audio library is for tests and simulation only.
    for folder, _, files in os.walk(root):
        for name in files:
            check("osConfLib" not in name, "the stand-in audio library is installed: " + os.path.join(folder, name))
    # The program folder holds the program; its data lives under /usr/share, and none of the
    # source tree's notes on that data is shipped.
    for folder, _, files in os.walk(os.path.join(root, "usr/lib/telix-tx512")):
        for name in files:
            check(name == "telix-tx512", "arch-independent file under /usr/lib: " + os.path.join(folder, name))
    for folder, _, files in os.walk(root):
        for name in files:
            check(name not in ("README.md", ".gitkeep"), "a source tree note is shipped: " + os.path.join(folder, name))
    link = os.path.join(root, "usr/bin/telix-tx512")
    check(os.path.islink(link) and os.readlink(link) == "../lib/telix-tx512/telix-tx512",
          "usr/bin/telix-tx512 is not a relative link to the program")
    for size in ICON_SIZES:
        rel = "usr/share/icons/hicolor/%dx%d/apps/telix-tx512.png" % (size, size)
        if os.path.exists(os.path.join(root, rel)):
            check(png_size(os.path.join(root, rel)) == (size, size), "wrong picture size: " + rel)

    # The files name each other and the devices the same way.
    desktop = read(os.path.join(root, "usr/share/applications/telix-tx512.desktop"))
    check("\nExec=telix-tx512\n" in desktop, "the desktop entry does not start telix-tx512")
    check("\nIcon=telix-tx512\n" in desktop, "the desktop entry's icon is not telix-tx512")
    meta = read(os.path.join(root, "usr/share/metainfo/io.telix.tx512.metainfo.xml"))
    check("<launchable type=\"desktop-id\">telix-tx512.desktop</launchable>" in meta,
          "the metainfo does not launch telix-tx512.desktop")
    check("<project_license>GPL-3.0-or-later</project_license>" in meta, "the metainfo's licence is not GPL-3.0-or-later")
    check(re.search(r"<screenshot type=\"default\">.*?<image[^>]*>https://[^<]+\.png</image>", meta, re.S) is not None,
          "the metainfo shows no screenshot")
    check(re.search(r"<release version=\"[^\"]+\" date=\"\d{4}-\d{2}-\d{2}\">\s*<description>", meta) is not None,
          "the metainfo's releases have no description")
    check(re.search(r"@[A-Z0-9_]+@", meta) is None,
          "the metainfo keeps an unfilled placeholder")
    copyright = read(os.path.join(root, "usr/share/doc/telix-tx512/copyright"))
    check(copyright.startswith("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"),
          "the copyright file is not machine-readable (DEP-5)")
    check("\nLicense: GPL-3+\n" in copyright and "/usr/share/common-licenses/GPL-3" in copyright,
          "the copyright file does not state the GPL-3+")
    changelog = gzip.open(os.path.join(root, "usr/share/doc/telix-tx512/changelog.Debian.gz"), "rt").read()
    check(re.match(r"telix-tx512 \([0-9.]+-\d+\) unstable; urgency=medium\n", changelog) is not None,
          "the changelog does not start with an entry of the package: " + changelog[:80])
    rule = read(os.path.join(root, "usr/lib/udev/rules.d/60-telix-tx512.rules"))
    rule_ids = set(re.findall(r'ATTRS\{idVendor\}=="(\w{4})", ATTRS\{idProduct\}=="(\w{4})"', rule))
    meta_ids = set((v.lower(), p.lower()) for v, p in re.findall(r"usb:v(\w{4})p(\w{4})\*", meta))
    check(rule_ids and rule_ids == meta_ids,
          "the metainfo's modalias ids %s are not the udev rule's %s" % (sorted(meta_ids), sorted(rule_ids)))
    for tool, path in (("desktop-file-validate", "usr/share/applications/telix-tx512.desktop"),
                       ("appstreamcli", "usr/share/metainfo/io.telix.tx512.metainfo.xml")):
        args = [tool, os.path.join(root, path)]
        if tool == "appstreamcli":
            args[1:1] = ["validate", "--pedantic", "--no-net"]
        check(shutil.which(tool) is not None, tool + " is missing (scripts/packages.txt installs it)")
        if shutil.which(tool) is not None:
            result = subprocess.run(args, capture_output=True, text=True)
            complaints = [line for line in (result.stdout + result.stderr).splitlines() if re.match(r"[EWIP]: ", line)]
            check(result.returncode == 0 and not complaints,
                  "%s refuses %s: %s" % (tool, path, result.stdout + result.stderr))
    man = gzip.open(os.path.join(root, "usr/share/man/man1/telix-tx512.1.gz"), "rt").read()
    check(man.startswith(".TH TELIX-TX512 1"), "the manual page has no title line")
    check("profile apply" in man and "\\-\\-hidden" in man, "the manual page misses commands or options")

    # The installed program runs from its own folder and finds its data under /usr/share,
    # whatever the environment of the build that made it says.
    home = os.path.join(os.path.dirname(root), "home")
    env = {k: v for k, v in os.environ.items() if not k.startswith(("TX512_", "XDG_", "QT_"))}
    env.update(HOME=home, XDG_DATA_HOME=home + "/data", XDG_CONFIG_HOME=home + "/config",
               XDG_RUNTIME_DIR=home + "/run", QT_QPA_PLATFORM="offscreen")
    os.makedirs(home + "/run", mode=0o700, exist_ok=True)
    program = lambda *args: subprocess.run([link, *args], capture_output=True, text=True, timeout=60, env=env)
    run = program("--version")
    check(run.returncode == 0 and run.stdout.startswith("telix-tx512 ") and "GPL-3.0-or-later" in run.stdout,
          "the installed program does not run or names no licence: " + run.stdout + run.stderr)
    run = program("--help")
    check("profile apply NAME|INDEX" in run.stdout, "--help does not list the commands")
    run = program("--simulate", "--list-devices")
    check(run.returncode == 0 and '"vendor":"320f","product":"505b"' in run.stdout,
          "--simulate --list-devices lists nothing: " + run.stdout + run.stderr)
    picture = os.path.join(home, "window.png")
    run = program("--simulate", "--screenshot", picture)
    size = png_size(picture) if os.path.exists(picture) else None
    check(run.returncode == 0 and size is not None and size[0] > 600,
          "--screenshot from the installed tree made no window picture: %s %s" % (size, run.stdout + run.stderr))
    # Without its data the program says where it looked, and makes no picture.
    data = os.path.join(root, "usr/share/telix-tx512")
    os.rename(data, data + ".away")
    try:
        run = program("--simulate", "--screenshot", picture + ".none")
        check(run.returncode != 0 and not os.path.exists(picture + ".none") and "share/telix-tx512/skin" in run.stderr,
              "--screenshot without the data folder: %d %s" % (run.returncode, run.stderr))
    finally:
        os.rename(data + ".away", data)


def files_in(root):
    found = set()
    for folder, dirs, files in os.walk(root):
        for name in files + [d for d in dirs if os.path.islink(os.path.join(folder, d))]:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def install(build, cmake, scratch):
    root = os.path.join(scratch, "root")
    env = dict(os.environ, DESTDIR=root)
    subprocess.run([cmake, "--install", build, "--prefix", "/usr"], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    check_tree(root)
    return root


def deb(build, cpack, scratch):
    subprocess.run([cpack, "-G", "DEB", "--config", os.path.join(build, "CPackConfig.cmake"),
                    "-B", scratch], check=True, stdout=subprocess.DEVNULL)
    packages = [f for f in os.listdir(scratch) if f.endswith(".deb")]
    check(len(packages) == 1, "cpack made %d packages" % len(packages))
    if not packages:
        return
    package = os.path.join(scratch, packages[0])
    check(re.match(r"telix-tx512_[0-9.]+-\d+_\w+\.deb$", packages[0]) is not None, "odd package name " + packages[0])
    field = lambda name: subprocess.run(["dpkg-deb", "-f", package, name], capture_output=True,
                                        text=True, check=True).stdout.strip()
    depends = field("Depends")
    for needed in ("libqt6widgets6", "libqt6dbus6", "qt6-qpa-plugins", "libjsoncpp25", "libpugixml1v5",
                   "libudev1", "libcurl4", "udev"):
        check(re.search(r"(^|, )%s( |,|$)" % re.escape(needed), depends) is not None, "Depends lacks " + needed)
    recommends = field("Recommends")
    check(re.search(r"(^|, )qt6-wayland( |,|$)", recommends) is not None, "Recommends lacks qt6-wayland")
    check(field("Package") == "telix-tx512", "the package is not called telix-tx512")
    control = os.path.join(scratch, "control")
    subprocess.run(["dpkg-deb", "-e", package, control], check=True)
    postinst = os.path.join(control, "postinst")
    check(os.path.exists(postinst) and os.access(postinst, os.X_OK), "no executable postinst")
    if os.path.exists(postinst):
        text = read(postinst)
        check("udevadm control --reload-rules" in text and "udevadm trigger" in text,
              "postinst does not reload and trigger udev")
    maintainer = field("Maintainer")
    check(re.fullmatch(r"[^<>@]+ <[^<>@\s]+@[\w-]+(\.[\w-]+)+>", maintainer) is not None
          and not re.search(r"@(localhost|example\.\w+)>", maintainer), "no real maintainer: " + maintainer)
    root = os.path.join(scratch, "unpacked")
    subprocess.run(["dpkg-deb", "-x", package, root], check=True)
    check_tree(root)
    changelog = gzip.open(os.path.join(root, "usr/share/doc/telix-tx512/changelog.Debian.gz"), "rt").read()
    check(changelog.startswith("telix-tx512 (%s) " % field("Version")),
          "the changelog's newest entry is not the package's version " + field("Version"))
    check("\n -- %s  " % maintainer in changelog, "the changelog is not signed by the package's maintainer")
    check_lintian(package, root)


def check_lintian(package, root):
    """Every error and warning of lintian fails, unless the package overrides it with a reason
    written on the comment lines above the override."""
    if shutil.which("lintian") is None:
        check(False, "lintian is missing (scripts/packages.txt installs it)")
        return
    result = subprocess.run(["lintian", "--tag-display-limit", "0", package], capture_output=True, text=True)
    tags = [line for line in result.stdout.splitlines() if re.match(r"[EW]: ", line)]
    for line in tags:
        check(False, "lintian: " + line)
    check(result.returncode == 0 or tags, "lintian failed: " + result.stdout + result.stderr)
    overrides = os.path.join(root, "usr/share/lintian/overrides/telix-tx512")
    if os.path.exists(overrides):
        previous = ""
        for line in read(overrides).splitlines():
            if line.strip() and not line.startswith("#"):
                check(previous.startswith("#") and len(previous.strip("# ")) > 0,
                      "lintian override without a written reason: " + line)
            previous = line


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("install", "deb"):
        print(__doc__)
        return 2
    mode, build, tool = sys.argv[1:]
    if mode == "deb" and shutil.which("dpkg-deb") is None:
        print("dpkg-deb is missing")
        return 1
    scratch = tempfile.mkdtemp(prefix="tx512-package-")
    try:
        (install if mode == "install" else deb)(build, tool, scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    for problem in problems:
        print("FAIL:", problem)
    print("%s: %d problems" % (mode, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
