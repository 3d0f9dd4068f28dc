#!/usr/bin/env bash
# test-package.sh BUILD: tests what package.sh made, as its users get it, headless under Xvfb.
#   - the Debian package, unpacked into a clean tree: both launchers, with a private HOME,
#     make their Wine prefix on the first start and show their main window; the next start
#     reuses the prefix;
#   - the zip's installer (its x86_64 build: this machine may refuse 32-bit programs) in
#     the prefix the launchers made, without their kro97.ini: a silent install, player and archive started through its shortcuts'
#     command, a silent uninstall that leaves nothing behind, then the same through its
#     dialogs, answered with the keyboard.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
out="$build/package"
deb=$(ls "$out"/kro97_*_amd64.deb)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kro-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export scratch here out deb build

xvfb-run -a -s '-screen 0 1024x768x24' bash -c 'set -euo pipefail; source "$here/test-steps.sh"; all_steps'
