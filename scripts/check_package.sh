#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it: the files it
# holds, its dependencies, lintian, and the installed program, unpacked into
# a scratch root and started offscreen on an empty data folder, finding its
# help file, cue sounds and starter problems.
set -uo pipefail
SOLNEKA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$SOLNEKA_ROOT"

start=$SECONDS
out=$(bash scripts/package.sh) || { echo "$out"; echo "package: build failed"; exit 1; }
deb=$(echo "$out" | tail -n 1)
echo "package: $deb ($((SECONDS - start)) s)"

bad=0
fail() {
  echo "package: $*"
  bad=1
}

list=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for f in /usr/bin/solneka /usr/share/solneka/ソルネカ.HLP /usr/share/solneka/sounds/chord.wav \
  /usr/share/solneka/sounds/ding.wav /usr/share/applications/solneka.desktop \
  /usr/share/icons/hicolor/48x48/apps/solneka.png /usr/share/icons/hicolor/128x128/apps/solneka.png \
  /usr/share/icons/hicolor/256x256/apps/solneka.png /usr/share/icons/hicolor/scalable/apps/solneka.svg \
  /usr/share/doc/solneka/copyright /usr/share/doc/solneka/changelog.gz; do
  grep -qxF "$f" <<<"$list" || fail "missing $f"
done
for lecture in tesuji yose tsumego joseki; do
  grep -qE "^/usr/share/solneka/problems/$lecture/[^/]+\.sgf$" <<<"$list" || fail "no starter problems of $lecture"
done

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libsqlite3-0 fonts-noto-cjk; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = gnugo ] || fail "Recommends is not gnugo"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "Section is not games"

# Only errors fail; the warnings are shown.
lint=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v "^running with root privileges")
[ -n "$lint" ] && echo "$lint"
grep -q '^E:' <<<"$lint" && fail "lintian reports errors"

root=$(mktemp -d)
mkdir "$root/data"
installed=""
cleanup() {
  [ -n "$installed" ] && DEBIAN_FRONTEND=noninteractive apt-get remove -y -q solneka >/dev/null
  rm -rf "$root"
}
trap cleanup EXIT
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W -f='${Status}' solneka 2>/dev/null | grep -q "ok installed"; then
  # As root, installed for real, as a player would, and removed afterwards.
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >"$root/apt.log" 2>&1 ||
    { cat "$root/apt.log"; fail "apt-get install $deb failed"; exit 1; }
  installed=yes
  program=/usr/bin/solneka
else
  # Otherwise unpacked into a scratch root. The program looks for what it
  # ships in /usr/share/solneka, so the unpacked files are shown to it
  # beside the executable, where a portable copy holds them.
  dpkg-deb -x "$deb" "$root/system"
  ln -s ../share/solneka/ソルネカ.HLP ../share/solneka/sounds ../share/solneka/problems "$root/system/usr/bin/"
  program=$root/system/usr/bin/solneka
  grep -qa /usr/share/solneka "$program" || fail "the program does not know /usr/share/solneka"
fi
report=$(QT_QPA_PLATFORM=offscreen timeout 120 "$program" --self-check --data "$root/data" 2>&1)
status=$?
echo "$report"
[ $status -eq 0 ] || fail "the installed program did not find what it ships (exit $status)"
[ -z "$installed" ] || grep -qx "share folder: /usr/share/solneka/" <<<"$report" ||
  fail "the installed program does not read /usr/share/solneka"
[ -s "$root/data/問題リスト.dat" ] || fail "the starter problems were not stored in the empty data folder"

echo "package: checked in $((SECONDS - start)) s"
exit $bad
