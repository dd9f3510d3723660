# SPDX-License-Identifier: GPL-3.0-or-later
# Who stands behind the program, named once: the package's maintainer, its copyright
# file, the changelog trailers, the AppStream metadata and --version all read these.
set(TX512_LICENSE "GPL-3.0-or-later")
set(TX512_COPYRIGHT_YEARS "2026")
set(TX512_COPYRIGHT_HOLDER "the telix-tx512 developers")
set(TX512_MAINTAINER "telix-tx512 developers <maintainers@tx512.telix.io>")
set(TX512_HOMEPAGE "https://tx512.telix.io/")
# The Debian revision of the package; the upstream version is the project's.
set(TX512_DEBIAN_REVISION 1)

# Where an installed program finds its arch-independent data, relative to its own folder,
# so that a tree installed under any prefix (or unpacked into a scratch root) still works.
set(TX512_INSTALL_PROGRAM_DIR lib/telix-tx512)
set(TX512_INSTALL_DATA_DIR share/telix-tx512)
file(RELATIVE_PATH TX512_DATA_FROM_PROGRAM /${TX512_INSTALL_PROGRAM_DIR} /${TX512_INSTALL_DATA_DIR})
