#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The scripts behind the package: the SPDX line adder and the release files made from
CHANGELOG.md, run on scratch trees."""
import gzip
import os
import stat
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


class Scratch(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory(prefix="tx512-scripts-")
        self.root = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def write(self, relative, text, mode=0o644):
        path = os.path.join(self.root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        os.chmod(path, mode)
        return path

    def read(self, relative):
        with open(os.path.join(self.root, relative), encoding="utf-8", newline="") as f:
            return f.read()


class AddSpdx(Scratch):
    def run_script(self, *args):
        return subprocess.run([sys.executable, os.path.join(SOURCE, "scripts/add_spdx.py"), *args, self.root],
                              capture_output=True, text=True)

    def test_each_kind_gets_its_comment_after_what_must_stay_first_and_a_second_run_changes_nothing(self):
        self.write("src/a/Thing.h", "#pragma once\n")
        self.write("cmake/Version.h.in", "#pragma once\n")
        self.write("src/a/CMakeLists.txt", "add_library(x)\n")
        self.write("scripts/tool.py", "#!/usr/bin/env python3\n# -*- coding: utf-8 -*-\nprint(1)\n", 0o755)
        self.write("packaging/debian/postinst", "#!/bin/sh\nexit 0", 0o755)
        self.write("windows.cpp", "int x;\r\nint y;\r\n")
        self.write("resources/skin/main.xml", "<Window/>\n")
        self.write("tests/fuzz/corpus/reader/seed.py", "not a source\n")
        self.write("build-test/generated/Version.h", "#pragma once\n")
        self.assertEqual(self.run_script("--check").returncode, 1)

        self.assertEqual(self.run_script().returncode, 0)
        line = "SPDX-License-Identifier: GPL-3.0-or-later"
        self.assertEqual(self.read("src/a/Thing.h"), "// %s\n#pragma once\n" % line)
        self.assertEqual(self.read("cmake/Version.h.in"), "// %s\n#pragma once\n" % line)
        self.assertEqual(self.read("src/a/CMakeLists.txt"), "# %s\nadd_library(x)\n" % line)
        self.assertEqual(self.read("scripts/tool.py"),
                         "#!/usr/bin/env python3\n# -*- coding: utf-8 -*-\n# %s\nprint(1)\n" % line)
        self.assertEqual(self.read("packaging/debian/postinst"), "#!/bin/sh\n# %s\nexit 0\n" % line)
        self.assertEqual(self.read("windows.cpp"), "// %s\r\nint x;\r\nint y;\r\n" % line)
        self.assertTrue(os.stat(os.path.join(self.root, "scripts/tool.py")).st_mode & stat.S_IXUSR)
        for untouched in ("resources/skin/main.xml", "tests/fuzz/corpus/reader/seed.py",
                          "build-test/generated/Version.h"):
            self.assertNotIn("SPDX", self.read(untouched), untouched)

        before = {p: self.read(p) for p in ("src/a/Thing.h", "scripts/tool.py", "windows.cpp")}
        second = self.run_script()
        self.assertIn("0 files", second.stdout)
        self.assertEqual(before, {p: self.read(p) for p in before})
        self.assertEqual(self.run_script("--check").returncode, 0)

    def test_a_file_under_another_licence_is_reported_and_left_alone(self):
        self.write("third_party/x.cpp", "// SPDX-License-Identifier: MIT\nint x;\n")
        result = self.run_script()
        self.assertEqual(result.returncode, 1)
        self.assertIn("third_party/x.cpp (MIT)", result.stdout)
        self.assertEqual(self.read("third_party/x.cpp"), "// SPDX-License-Identifier: MIT\nint x;\n")


CHANGELOG = """# Changes

Text before the first release is not read.

## 0.2.0 (2027-01-05)
- Fixed a crash when the pad is unplugged while its lighting is written, a sentence long
  enough to need wrapping in the Debian changelog & an ampersand.
- Second change.

## 0.1.0 (2026-12-10)
- First release.
"""


class ReleaseFiles(Scratch):
    def make(self, changelog, version="0.2.0", template="<r>\n@TX512_RELEASES@\n</r>@TX512_HOMEPAGE@\n"):
        self.write("CHANGELOG.md", changelog)
        self.write("meta.in", template)
        args = ["--changelog", os.path.join(self.root, "CHANGELOG.md"), "--version", version, "--revision", "1",
                "--maintainer", "Team <team@example.org>",
                "--debian-changelog", os.path.join(self.root, "changelog.Debian.gz"),
                "--metainfo", os.path.join(self.root, "meta.in"), os.path.join(self.root, "meta.xml"),
                "--set", "TX512_HOMEPAGE=https://x.org/?a&b"]
        return subprocess.run([sys.executable, os.path.join(SOURCE, "packaging/make_release_files.py"), *args],
                              capture_output=True, text=True)

    def test_every_release_becomes_a_debian_entry_and_an_appstream_release(self):
        self.assertEqual(self.make(CHANGELOG).returncode, 0)
        with open(os.path.join(self.root, "changelog.Debian.gz"), "rb") as f:
            raw = f.read()
        self.assertEqual(raw[4:8], b"\0\0\0\0", "no time in the gzip header: builds are reproducible")
        text = gzip.decompress(raw).decode("utf-8")
        self.assertTrue(text.startswith("telix-tx512 (0.2.0-1) unstable; urgency=medium\n\n  * Fixed a crash"))
        self.assertIn("\n -- Team <team@example.org>  Tue, 05 Jan 2027 12:00:00 +0000\n", text)
        self.assertIn("telix-tx512 (0.1.0-1) unstable; urgency=medium\n\n  * First release.\n", text)
        self.assertTrue(all(len(line) <= 80 for line in text.splitlines()))
        self.assertIn("\n    ", text, "a long item continues on indented lines")
        meta = self.read("meta.xml")
        self.assertIn('<release version="0.2.0" date="2027-01-05">', meta)
        self.assertLess(meta.index("0.2.0"), meta.index("0.1.0"))
        self.assertIn("&amp; an ampersand", meta)
        self.assertIn("https://x.org/?a&amp;b", meta)

    def test_a_history_that_cannot_be_trusted_is_refused_with_its_reason(self):
        cases = {
            "the project's version is 0.3.0": (CHANGELOG, "0.3.0"),
            "not newest first": (CHANGELOG.replace("2027-01-05", "2026-01-05"), "0.2.0"),
            "is not a date": (CHANGELOG.replace("2027-01-05", "2027-02-30"), "0.2.0"),
            "lists no change": ("## 0.2.0 (2027-01-05)\n", "0.2.0"),
            "a release heading": (CHANGELOG.replace("## 0.1.0 (2026-12-10)", "## 0.1.0"), "0.2.0"),
            "not an item": (CHANGELOG.replace("- Second change.", "Second change."), "0.2.0"),
            "no release": ("# Changes\n", "0.2.0"),
        }
        for reason, (changelog, version) in cases.items():
            with self.subTest(reason):
                result = self.make(changelog, version)
                self.assertEqual(result.returncode, 1)
                self.assertIn(reason, result.stderr)

    def test_a_placeholder_without_a_value_is_an_error(self):
        result = self.make(CHANGELOG, template="@TX512_RELEASES@ @TX512_LICENCE@")
        self.assertEqual(result.returncode, 1)
        self.assertIn("@TX512_LICENCE@ has no value", result.stderr)


if __name__ == "__main__":
    unittest.main()
