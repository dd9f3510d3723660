#!/usr/bin/env python3
"""The installed tree and the Debian package, checked file by file.

  check_package.py install BUILD_DIR CMAKE   cmake --install into a scratch root
  check_package.py deb BUILD_DIR CPACK       cpack -G DEB, then the package's list and control

Exits non-zero with every problem listed."""
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
    "usr/lib/telix-tx512/skin/res.xml",
    "usr/lib/telix-tx512/DefaultData/keyboard.Json",
    "usr/lib/udev/rules.d/60-telix-tx512.rules",
    "usr/share/applications/telix-tx512.desktop",
    "usr/share/metainfo/io.telix.tx512.metainfo.xml",
    "usr/share/icons/hicolor/scalable/apps/telix-tx512.svg",
    "usr/share/man/man1/telix-tx512.1",
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
    rule = read(os.path.join(root, "usr/lib/udev/rules.d/60-telix-tx512.rules"))
    rule_ids = set(re.findall(r'ATTRS\{idVendor\}=="(\w{4})", ATTRS\{idProduct\}=="(\w{4})"', rule))
    meta_ids = set((v.lower(), p.lower()) for v, p in re.findall(r"usb:v(\w{4})p(\w{4})\*", meta))
    check(rule_ids and rule_ids == meta_ids,
          "the metainfo's modalias ids %s are not the udev rule's %s" % (sorted(meta_ids), sorted(rule_ids)))
    for tool, path in (("desktop-file-validate", "usr/share/applications/telix-tx512.desktop"),
                       ("appstreamcli", "usr/share/metainfo/io.telix.tx512.metainfo.xml")):
        args = [tool, os.path.join(root, path)]
        if tool == "appstreamcli":
            args[1:1] = ["validate", "--no-net"]
        check(shutil.which(tool) is not None, tool + " is missing (scripts/packages.txt installs it)")
        if shutil.which(tool) is not None:
            result = subprocess.run(args, capture_output=True, text=True)
            check(result.returncode == 0, "%s refuses %s: %s" % (tool, path, result.stdout + result.stderr))
    man = read(os.path.join(root, "usr/share/man/man1/telix-tx512.1"))
    check(man.startswith(".TH TELIX-TX512 1"), "the manual page has no title line")
    check("profile apply" in man and "\\-\\-hidden" in man, "the manual page misses commands or options")

    # The installed program runs from its own folder.
    run = subprocess.run([link, "--version"], capture_output=True, text=True, timeout=30)
    check(run.returncode == 0 and run.stdout.startswith("telix-tx512 "), "the installed program does not run")
    run = subprocess.run([link, "--help"], capture_output=True, text=True, timeout=30)
    check("profile apply NAME|INDEX" in run.stdout, "--help does not list the commands")


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
    check(re.match(r"telix-tx512_[0-9.]+_\w+\.deb$", packages[0]) is not None, "odd package name " + packages[0])
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
    root = os.path.join(scratch, "unpacked")
    subprocess.run(["dpkg-deb", "-x", package, root], check=True)
    check_tree(root)


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
