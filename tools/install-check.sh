#!/usr/bin/env bash
# Checks the installation as a user meets it. Installs the built program into
# a temporary prefix made read-only, then, as a normal user (a user made for
# the check when run as root) under a virtual X display: the first start
# shows the sample, a file opened through the Open dialog is shown, and the
# next start shows that file again. Then builds the Debian package and checks
# it, its desktop entry and icons with lintian and desktop-file-validate.
#
#   tools/install-check.sh BUILD-FOLDER
set -euo pipefail
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"

cmake --install "$build" --prefix "$work/usr" >/dev/null
test -f "$work/usr/share/kvx410/config.kvx"
test ! -e "$work/usr/bin/config.kvx"
"$work/usr/bin/kvx410" --version | grep -q "^kvx410 "
desktop-file-validate "$work/usr/share/applications/kvx410.desktop"
chmod -R a-w "$work/usr"

# The second exchange, and the driver, where the user can read them.
sed 's/KINGSBRIDGE TRUNK EXCHANGE/SECOND EXCHANGE/' app/config.kvx > "$work/second.kvx"
cp "$build/tests/e2e_viewer" "$work/"
chmod 644 "$work/second.kvx"
as=()
if [ "$(id -u)" -eq 0 ]; then
  id kvx-tester >/dev/null 2>&1 || useradd --create-home --shell /bin/sh kvx-tester
  install -d -o kvx-tester "$work/home"
  as=(runuser -u kvx-tester --)
else
  mkdir "$work/home"
fi
"${as[@]}" env -i PATH="$PATH" HOME="$work/home" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1024x768x24" "$work/e2e_viewer" --installed "$work/usr/bin/kvx410" "$work/second.kvx"
# What the user's run wrote went to the user's folders.
test -f "$work/home/.local/share/kvx410/config.kvx"
grep -q "second.kvx" "$work/home/.config/kvx410/kvx.ini"
echo "installed program: ok"

(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls -t "$build"/kvx410_*.deb | head -n 1)"
dpkg-deb --field "$deb" Depends
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb"
echo "package $(basename "$deb"): ok"
