#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses the programs from there as a
# user would: versions, a hide and reveal round trip, the window started
# offscreen on its installed run-time files, then with a picture to open, and
# the tool's bash completion.
# Usage: InstallTest.sh BUILD_DIR WITH_WINDOW(ON|OFF)
set -euo pipefail
build=$1
with_window=$2

work=$(mktemp -d)
window_pid=
cleanup() {
  if [ -n "$window_pid" ]; then kill "$window_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in the cache"

# The tool, from the prefix, away from the build tree.
cd "$work"
[ "$("$prefix/bin/veilnote-cli" --version)" = "veilnote-cli $version" ] || fail "veilnote-cli --version"

# A 64 x 64 bitmap of 24-bit noise as the carrier.
{
  printf 'BM\066\060\000\000\000\000\000\000\066\000\000\000'
  printf '\050\000\000\000\100\000\000\000\100\000\000\000\001\000\030\000'
  printf '\000\000\000\000\000\060\000\000\023\013\000\000\023\013\000\000'
  printf '\000\000\000\000\000\000\000\000'
  head -c 12288 /dev/urandom
} >picture.bmp
[ "$(stat -c %s picture.bmp)" -eq 12342 ] || fail "the carrier is not 12342 bytes"
# The record keeps no trailing white space, so the note ends without any.
printf 'Meet me by the old mill at seven.\nBring the map.' >note.txt
printf 'lanterns9\n' >password.txt
"$prefix/bin/veilnote-cli" hide picture.bmp hidden.bmp --text-file note.txt \
  --password-file password.txt || fail "hide"
[ "$(stat -c %s hidden.bmp)" -eq 12342 ] || fail "hide changed the length"
"$prefix/bin/veilnote-cli" reveal hidden.bmp --password-file password.txt >revealed.txt ||
  fail "reveal"
cmp -s note.txt revealed.txt || fail "the revealed message differs from the hidden one"

# A picture that is not a bitmap: the installed tool finds its decoder module
# in the installed library folder; a build without the window has none.
convert -size 48x32 gradient:red-blue photo.png
if [ "$with_window" = ON ]; then
  "$prefix/bin/veilnote-cli" hide photo.png photo.bmp --convert --text-file note.txt \
    --password-file password.txt || fail "hide --convert of a PNG"
  "$prefix/bin/veilnote-cli" reveal photo.bmp --password-file password.txt >revealed.txt ||
    fail "reveal from a converted PNG"
  cmp -s note.txt revealed.txt || fail "the message from the converted PNG differs"
else
  "$prefix/bin/veilnote-cli" hide photo.png photo.bmp --convert --text-file note.txt \
    --password-file password.txt 2>refusal.txt && fail "a tool without decoder took a PNG"
  grep -q "takes only bitmaps" refusal.txt || fail "the refusal does not say what is taken"
fi

# Completion: commands, then options of a command, then pictures.
complete_line() {
  bash --norc --noprofile -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _veilnote_cli
    printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' \
    _ "$prefix/share/bash-completion/completions/veilnote-cli" "$@"
}
[ "$(complete_line veilnote-cli re)" = "reveal " ] || fail "completion of a command"
[ "$(complete_line veilnote-cli hide --)" = "--convert --force --help --password-file --seal --text-file " ] ||
  fail "completion of hide's options"
[ "$(complete_line veilnote-cli reveal hi)" = "hidden.bmp " ] || fail "completion of a picture"

[ "$with_window" = ON ] || exit 0

[ "$("$prefix/bin/veilnote" --version)" = "veilnote $version" ] || fail "veilnote --version"
DISPLAY= WAYLAND_DISPLAY= "$prefix/bin/veilnote" --help | grep -q '^Usage: veilnote' ||
  fail "veilnote --help"

# The window, offscreen, must find its skin and splash in the prefix and stay up.
mkdir -m 700 runtime
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen \
  QT_LOGGING_RULES='veilnote.*.debug=true' "$prefix/bin/veilnote" 2>window.log &
window_pid=$!
data=$prefix/share/veilnote
for _ in $(seq 600); do
  grep -q "loaded skin $data/Veilnote.skn" window.log && break
  kill -0 "$window_pid" 2>/dev/null || { cat window.log >&2; fail "the window ended at start"; }
  sleep 0.1
done
grep -q "loaded splash $data/Splash.spl" window.log || { cat window.log >&2; fail "no splash"; }
grep -q "loaded skin $data/Veilnote.skn" window.log || { cat window.log >&2; fail "no skin"; }
kill -0 "$window_pid" 2>/dev/null || fail "the window did not stay up"
kill "$window_pid"
wait "$window_pid" 2>/dev/null || true

# Started with a picture named relative to the working folder, and the window
# system's own option before it: the picture opens as Open image opens it.
XDG_RUNTIME_DIR=$work/runtime QT_LOGGING_RULES='veilnote.*.debug=true' \
  "$prefix/bin/veilnote" -platform offscreen hidden.bmp 2>file.log &
window_pid=$!
opened="opened image $(pwd -P)/hidden.bmp (12342 bytes)"
for _ in $(seq 600); do
  grep -qF "$opened" file.log && break
  kill -0 "$window_pid" 2>/dev/null || { cat file.log >&2; fail "the window ended at start"; }
  sleep 0.1
done
grep -qF "$opened" file.log || { cat file.log >&2; fail "the picture did not open"; }
kill -0 "$window_pid" 2>/dev/null || fail "the window did not stay up with the picture"
echo "installed programs work from $prefix"
