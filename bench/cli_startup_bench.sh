#!/usr/bin/env bash
# [SAMPLES=N] bench/cli_startup_bench.sh [BUILD_DIR] [PEER_COMMIT]: what
# `veilnote-cli info` and `reveal` cost on a small bitmap, start-up
# included, against the same commands of the tool built from PEER_COMMIT,
# measured in the same run. The default peer is the last commit before the
# tool could load its picture decoder: bitmaps must keep that start-up cost
# (a ratio of at most 1.5), since the decoder is loaded only for other
# pictures.
#
# The peer is built once, from `git archive`, under BUILD_DIR, and kept for
# later runs. Each sample is the wall time of 20 runs in a row, divided by
# 20; the two tools take turns, so that a busy machine slows both alike.
# Prints the medians of SAMPLES samples (default 21) and their ratios.
set -euo pipefail

cd "$(dirname "$0")/.."
build=${1:-build}
peer_commit=${2:-5a24743}
samples=${SAMPLES:-21}
runs=20

[ -f "$build/CMakeCache.txt" ] || {
    echo "no build in $build: run scripts/build $build first" >&2
    exit 2
}
cmake --build "$build" --target veilnote-cli veilnote_time_run >/dev/null
ours=$(realpath "$build/bin/veilnote-cli")
timer=$(realpath "$build/bin/veilnote_time_run")

peer_hash=$(git rev-parse --short "$peer_commit^{commit}")
peer_dir=$(realpath "$build")/startup-peer-$peer_hash
peer=$peer_dir/build/bin/veilnote-cli
if [ ! -x "$peer" ]; then
    echo "building veilnote-cli at $peer_hash in $peer_dir" >&2
    rm -rf "$peer_dir"
    mkdir -p "$peer_dir/source"
    git archive "$peer_hash" | tar -x -C "$peer_dir/source"
    cmake -S "$peer_dir/source" -B "$peer_dir/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVEILNOTE_GUI=OFF -DVEILNOTE_TESTS=OFF -DVEILNOTE_BENCH=OFF >/dev/null
    cmake --build "$peer_dir/build" --target veilnote-cli >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A 640x480 24-bit photo-like bitmap with a message hidden in it.
convert -size 640x480 gradient:navy-orange -type TrueColor "BMP3:$work/plain.bmp"
printf 'Meet me by the old mill at seven.' >"$work/note.txt"
printf 'lanterns9\n' >"$work/pw"
"$ours" hide "$work/plain.bmp" "$work/carrier.bmp" --text-file "$work/note.txt" \
    --password-file "$work/pw"

# sample TOOL ARGS...: the time of one run, in ms, from $runs in a row.
sample() {
    local tool=$1 command=() i
    shift
    for ((i = 0; i < runs; i++)); do
        ((i == 0)) || command+=(::)
        command+=("$tool" "$@")
    done
    read -r took _ < <("$timer" "${command[@]}")
    awk -v t="$took" -v n="$runs" 'BEGIN { printf "%.4f\n", t / n }'
}

median() {
    sort -g | sed -n "$(((samples + 1) / 2))p"
}

for name in info reveal; do
    args=(info "$work/carrier.bmp")
    [ "$name" = reveal ] && args=(reveal "$work/carrier.bmp" --password-file "$work/pw")
    [ "$("$ours" "${args[@]}")" = "$("$peer" "${args[@]}")" ] || [ "$name" = info ] || {
        echo "the two tools reveal different messages" >&2
        exit 1
    }
    : >"$work/ours" >"$work/peer"
    for ((s = 0; s < samples; s++)); do
        sample "$ours" "${args[@]}" >>"$work/ours"
        sample "$peer" "${args[@]}" >>"$work/peer"
    done
    ours_ms=$(median <"$work/ours")
    peer_ms=$(median <"$work/peer")
    echo "$name on a bitmap: veilnote-cli $ours_ms ms, at $peer_hash $peer_ms ms," \
        "ratio $(awk -v a="$ours_ms" -v b="$peer_ms" 'BEGIN { printf "%.2f", a / b }')"
done
