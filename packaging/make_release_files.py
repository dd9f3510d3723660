#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The package's files that follow the release history (CHANGELOG.md).

  make_release_files.py --changelog CHANGELOG.md --version V --revision R --maintainer M
      [--debian-changelog OUT.gz] [--metainfo TEMPLATE OUT] [--set NAME=VALUE ...]

The Debian changelog is written gzip-compressed and byte-for-byte reproducible. The metainfo
template's @NAME@ placeholders take the --set values and @TX512_RELEASES@ the release list;
a placeholder left unfilled is an error, as is a newest release that is not VERSION."""
import argparse
import datetime
import email.utils
import gzip
import re
import sys
import textwrap
from xml.sax.saxutils import escape

HEADING = re.compile(r"^## (\S+) \((\d{4}-\d{2}-\d{2})\)\s*$")


class ChangelogError(Exception):
    pass


def read_releases(text):
    """[(version, date, [item, ...]), ...] newest first, as the file lists them."""
    releases = []
    for number, line in enumerate(text.splitlines(), 1):
        heading = HEADING.match(line)
        if heading:
            try:
                date = datetime.date.fromisoformat(heading.group(2))
            except ValueError:
                raise ChangelogError("line %d: %s is not a date" % (number, heading.group(2)))
            releases.append((heading.group(1), date, []))
        elif line.startswith("## "):
            raise ChangelogError("line %d: a release heading is '## VERSION (YYYY-MM-DD)'" % number)
        elif not releases or not line.strip():
            continue
        elif line.startswith("- "):
            releases[-1][2].append(line[2:].strip())
        elif line.startswith("  ") and releases[-1][2]:
            releases[-1][2][-1] += " " + line.strip()
        else:
            raise ChangelogError("line %d: not an item ('- ') nor its continuation" % number)
    if not releases:
        raise ChangelogError("no release")
    for version, _, items in releases:
        if not items:
            raise ChangelogError("release %s lists no change" % version)
    dates = [date for _, date, _ in releases]
    if dates != sorted(dates, reverse=True):
        raise ChangelogError("the releases are not newest first")
    return releases


def debian_changelog(releases, package, revision, maintainer):
    out = []
    for version, date, items in releases:
        out.append("%s (%s-%s) unstable; urgency=medium\n\n" % (package, version, revision))
        for item in items:
            # Debian's tools want changelog lines within 80 columns.
            out.append(textwrap.fill(item, width=78, initial_indent="  * ", subsequent_indent="    ",
                                     break_on_hyphens=False) + "\n")
        moment = datetime.datetime.combine(date, datetime.time(12, 0), datetime.timezone.utc)
        out.append("\n -- %s  %s\n\n" % (maintainer, email.utils.format_datetime(moment)))
    return "".join(out).rstrip("\n") + "\n"


def appstream_releases(releases):
    out = []
    for version, date, items in releases:
        out.append('    <release version="%s" date="%s">\n      <description>\n        <ul>\n'
                   % (escape(version), date.isoformat()))
        out.extend("          <li>%s</li>\n" % escape(item) for item in items)
        out.append("        </ul>\n      </description>\n    </release>")
        out.append("\n")
    return "".join(out).rstrip("\n")


def fill(template, values):
    def one(match):
        if match.group(1) not in values:
            raise ChangelogError("the template's @%s@ has no value" % match.group(1))
        return values[match.group(1)]
    return re.sub(r"@([A-Z0-9_]+)@", one, template)


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--changelog", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--revision", required=True)
    parser.add_argument("--maintainer", required=True)
    parser.add_argument("--package", default="telix-tx512")
    parser.add_argument("--debian-changelog")
    parser.add_argument("--metainfo", nargs=2, metavar=("TEMPLATE", "OUT"))
    parser.add_argument("--set", action="append", default=[], metavar="NAME=VALUE")
    args = parser.parse_args(argv)
    try:
        with open(args.changelog, encoding="utf-8") as f:
            releases = read_releases(f.read())
        if releases[0][0] != args.version:
            raise ChangelogError("the newest release is %s but the project's version is %s: add a "
                                 "release for it" % (releases[0][0], args.version))
        if args.debian_changelog:
            text = debian_changelog(releases, args.package, args.revision, args.maintainer)
            # No name and no time in the gzip header, so that two builds make the same bytes.
            with open(args.debian_changelog, "wb") as raw:
                with gzip.GzipFile(filename="", mode="wb", fileobj=raw, compresslevel=9, mtime=0) as f:
                    f.write(text.encode("utf-8"))
        if args.metainfo:
            values = {name: escape(value) for name, value in (item.split("=", 1) for item in args.set)}
            values["TX512_RELEASES"] = appstream_releases(releases)
            with open(args.metainfo[0], encoding="utf-8") as f:
                text = fill(f.read(), values)
            with open(args.metainfo[1], "w", encoding="utf-8") as f:
                f.write(text)
    except (ChangelogError, OSError) as error:
        print("%s: %s" % (args.changelog, error), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
