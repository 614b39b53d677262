#!/usr/bin/env bash
# Builds the Debian package from this build folder, unpacks it into a scratch root and runs
# the installed programs' --version.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/qm416x_*.deb)
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || { echo "no Qt dependency in $deb"; exit 1; }
dpkg-deb --field "$deb" Depends | grep -q 'libqt6sql6-sqlite' || { echo "no SQLite driver dependency in $deb"; exit 1; }
dpkg -x "$deb" "$scratch/root"
for f in usr/bin/qm416x usr/bin/qm416x-cli usr/bin/qm416x-boardsim \
         usr/share/applications/qm416x.desktop usr/share/icons/hicolor/scalable/apps/qm416x.svg \
         usr/share/doc/qm416x/LICENSE usr/share/man/man1/qm416x.1.gz usr/share/man/man1/qm416x-cli.1.gz \
         usr/share/man/man1/qm416x-boardsim.1.gz usr/share/bash-completion/completions/qm416x-cli \
         usr/share/bash-completion/completions/qm416x usr/share/bash-completion/completions/qm416x-boardsim; do
    [ -e "$scratch/root/$f" ] || { echo "missing $f"; exit 1; }
done
QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/qm416x" --version | tee /dev/stderr | grep -q "GPL-3.0-or-later"
"$scratch/root/usr/bin/qm416x-cli" --version
# The Python module and its stubs, where the system Python finds them, when the build has it.
if ls "$build"/python/qm416x.*.so >/dev/null 2>&1; then
    ls "$scratch"/root/usr/lib/python3/dist-packages/qm416x.*.so >/dev/null || { echo "no Python module"; exit 1; }
    [ -e "$scratch/root/usr/lib/python3/dist-packages/qm416x.pyi" ] || { echo "no qm416x.pyi"; exit 1; }
    dpkg-deb --field "$deb" Depends | grep -q 'python3-numpy' || { echo "no numpy dependency in $deb"; exit 1; }
fi
