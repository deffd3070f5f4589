#!/usr/bin/env bash
# [REPEATS=N] bench/cli_io_bench.sh [BUILD_DIR]: what veilnote-cli's hide and reveal cost
# on a 54 MB 24-bit bitmap with a 4 KB message, against cp and cp + fsync of
# the same file, measured in the same run (medians of five wall times, and
# the largest maximum resident set size of the five).
#
# Runs in a folder under BUILD_DIR (default: build), and again on an XFS
# file system with reflinks mounted from a loop file when the caller is root
# and the machine allows it; otherwise says why that part is skipped. Also
# times steghide's embed of the same message when steghide is installed.
set -euo pipefail

cd "$(dirname "$0")/.."
build=${1:-build}
repeats=${REPEATS:-5}  # medians of five unless REPEATS says otherwise
password=bench-pass1
width=4096
height=4608

[ -f "$build/CMakeCache.txt" ] || {
    echo "no build in $build: run scripts/build $build first" >&2
    exit 2
}
cmake --build "$build" --target veilnote-cli veilnote_time_run >/dev/null
cli=$(realpath "$build/bin/veilnote-cli")
timer=$(realpath "$build/bin/veilnote_time_run")

work=$(mktemp -d "$(realpath "$build")/io-bench.XXXXXX")
mounted=""
cleanup() {
    if [ -n "$mounted" ]; then
        umount "$mounted" || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# Little-endian bytes of a number, as printf escapes.
le() {
    local value=$1 bytes=$2 out="" i
    for ((i = 0; i < bytes; i++)); do
        out+=$(printf '\\x%02x' $(((value >> (8 * i)) & 255)))
    done
    printf '%s' "$out"
}

# An uncompressed 24-bit bitmap with a 40-byte header and random pixels.
make_bitmap() {
    local pixels=$((width * 3 * height))
    {
        printf "BM$(le $((54 + pixels)) 4)$(le 0 4)$(le 54 4)"
        printf "$(le 40 4)$(le $width 4)$(le $height 4)$(le 1 2)$(le 24 2)"
        printf "$(le 0 4)$(le $pixels 4)$(le 2835 4)$(le 2835 4)$(le 0 4)$(le 0 4)"
        head -c $pixels /dev/urandom
    } >"$1"
}

# median_of FILE: the middle one of the numbers in FILE.
median_of() {
    sort -g "$1" | sed -n "$(((repeats + 1) / 2))p"
}

# measure NAME SETUP -- COMMAND...: times COMMAND (":: COMMAND" for more)
# $repeats times, running the shell text SETUP before each; keeps the median
# time in ms[NAME] and the largest resident size in rss[NAME] (MB).
declare -A ms rss
measure() {
    local name=$1 setup=$2
    shift 3
    : >"$work/times"
    : >"$work/sizes"
    for ((run = 0; run < repeats; run++)); do
        eval "$setup"
        read -r took kib < <("$timer" "$@") || true
        [ -n "${took:-}" ] || {
            echo "$name failed" >&2
            exit 1
        }
        echo "$took" >>"$work/times"
        echo "$kib" >>"$work/sizes"
    done
    ms[$name]=$(median_of "$work/times")
    rss[$name]=$(sort -g "$work/sizes" | tail -1 | awk '{ printf "%.1f", $1 / 1024 }')
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

# run_set DIR LABEL: every measurement on the file system that holds DIR.
run_set() {
    local dir=$1 label=$2
    cp "$work/cover.bmp" "$dir/cover.bmp"
    cp "$work/message.txt" "$work/password.txt" "$dir/"
    cd "$dir"
    sync
    measure cp "rm -f copy.bmp" -- cp cover.bmp copy.bmp
    measure cpsync "rm -f copy.bmp" -- cp cover.bmp copy.bmp :: sync copy.bmp
    measure hide "rm -f out.bmp" -- "$cli" hide cover.bmp out.bmp \
        --text-file message.txt --password-file password.txt
    measure inplace "" -- "$cli" hide out.bmp out.bmp \
        --text-file message.txt --password-file password.txt
    measure reveal "" -- "$cli" reveal out.bmp --password-file password.txt
    "$cli" reveal out.bmp --password-file password.txt | cmp -s - message.txt || {
        echo "reveal did not give the message back" >&2
        exit 1
    }
    local steg=""
    if command -v steghide >/dev/null; then
        measure steghide "" -- steghide embed -q -f -cf cover.bmp -ef message.txt -sf steg.bmp \
            -p "$password"
        steg=yes
    fi
    cd "$work"

    echo
    echo "== $label: $(df -T "$dir" | awk 'NR == 2 { print $2 }'), $(stat -c %s "$work/cover.bmp") bytes, medians of $repeats"
    printf '%-34s %10s %10s\n' operation ms "max RSS MB"
    printf '%-34s %10s %10s\n' "cp" "${ms[cp]}" "${rss[cp]}"
    printf '%-34s %10s %10s\n' "cp + fsync" "${ms[cpsync]}" "${rss[cpsync]}"
    printf '%-34s %10s %10s\n' "veilnote-cli hide" "${ms[hide]}" "${rss[hide]}"
    printf '%-34s %10s %10s\n' "veilnote-cli hide, IMAGE = OUTPUT" "${ms[inplace]}" "${rss[inplace]}"
    printf '%-34s %10s %10s\n' "veilnote-cli reveal" "${ms[reveal]}" "${rss[reveal]}"
    [ -z "$steg" ] || printf '%-34s %10s %10s\n' "steghide embed" "${ms[steghide]}" "${rss[steghide]}"
    echo "reveal / cp:                $(ratio "${ms[reveal]}" "${ms[cp]}")"
    echo "hide / (cp + fsync):        $(ratio "${ms[hide]}" "${ms[cpsync]}")"
    echo "same-file hide / (cp + fsync): $(ratio "${ms[inplace]}" "${ms[cpsync]}")"
    if [ -n "$steg" ]; then
        echo "steghide embed / hide:      $(ratio "${ms[steghide]}" "${ms[hide]}")"
    else
        echo "steghide is not installed: its embed is not measured"
    fi
}

make_bitmap "$work/cover.bmp"
head -c 3072 /dev/urandom | base64 -w0 >"$work/message.txt"
echo "$password" >"$work/password.txt"

mkdir "$work/plain"
run_set "$work/plain" "the build folder's file system"

# The XFS part needs root, the XFS tools and loop devices.
xfs_skip=""
if [ "$(id -u)" -ne 0 ]; then
    xfs_skip="not running as root, so no loop mount"
elif ! command -v mkfs.xfs >/dev/null; then
    xfs_skip="mkfs.xfs is not installed (package xfsprogs)"
else
    truncate -s 1G "$work/xfs.img"
    mkdir "$work/xfs"
    if ! mkfs.xfs -q -m reflink=1 "$work/xfs.img" 2>"$work/xfs.err"; then
        xfs_skip="mkfs.xfs failed: $(head -1 "$work/xfs.err")"
    elif ! mount -o loop "$work/xfs.img" "$work/xfs" 2>"$work/xfs.err"; then
        xfs_skip="mounting is not allowed here: $(head -1 "$work/xfs.err")"
    else
        mounted="$work/xfs"
    fi
fi
if [ -n "$xfs_skip" ]; then
    echo
    echo "== XFS with reflinks: skipped, $xfs_skip"
else
    run_set "$work/xfs" "XFS with reflinks on a loop file"
fi
