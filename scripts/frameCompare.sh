#!/usr/bin/env bash
# Frame time of one commit against another: builds frameBench at both (from git archives, in a
# temporary folder), then runs them in alternating pairs under one private Xvfb, so that load from
# elsewhere on the machine hits both alike. Prints each run's frame, depth pass and processor time
# (the shadow program's medians) and the ratios HEAD / BASE per pair and of their medians, with
# the load average before and after. Compare only figures taken on the same machine.
# Usage: scripts/frameCompare.sh BASE HEAD [PAIRS]   (PAIRS: 3 by default; HEAD may be "work",
#        the working tree as it stands)
set -euo pipefail
cd "$(dirname "$0")/.."
base=${1:?usage: scripts/frameCompare.sh BASE HEAD [PAIRS]}
head=${2:?usage: scripts/frameCompare.sh BASE HEAD [PAIRS]}
pairs=${3:-3}
work=$(mktemp -d)
cleanup() { rm -rf "$work"; }
trap cleanup EXIT

# Builds frameBench and what it loads (assets, shaders) for one revision into $work/$2.
build() {
    local rev=$1 name=$2
    local src=$work/$name-src
    mkdir -p "$src"
    if [ "$rev" = work ]; then
        git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$src"
    else
        git archive "$rev" | tar -x -C "$src"
    fi
    cmake -S "$src" -B "$work/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$work/$name" -j2 --target frameBench dustriders assets >/dev/null
}

# "frame depth processor" of the shadow program's line.
measure() {
    "$work/$1/bench/frameBench" | awk '/^shadow program/ {
        for (i = 1; i <= NF; i++) {
            if ($i == "frame") f = $(i + 1)
            if ($i == "depth") d = $(i + 1)
            if ($i == "processor") p = $(i + 1)
        }
        print f, d, p
    }'
}

echo "building $base and $head"
build "$base" base
build "$head" head
# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
results=$work/results
: >"$results"
for pair in $(seq 1 "$pairs"); do
    read -r bf bd bp <<<"$(measure base)"
    read -r hf hd hp <<<"$(measure head)"
    echo "$bf $bd $bp $hf $hd $hp" >>"$results"
    awk -v n="$pair" -v bf="$bf" -v bd="$bd" -v bp="$bp" -v hf="$hf" -v hd="$hd" -v hp="$hp" \
        'BEGIN { printf "pair %d: frame %.1f -> %.1f ms (%.3f), depth %.1f -> %.1f ms (%.3f), " \
                        "processor %.1f -> %.1f ms (%.3f)\n", n, bf, hf, hf / bf, bd, hd, hd / bd,
                        bp, hp, hp / bp }'
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
# Ratios of the medians over the pairs.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { awk -v c="$1" '{ print $c }' "$results" | median; }
awk -v bf="$(column 1)" -v bd="$(column 2)" -v bp="$(column 3)" \
    -v hf="$(column 4)" -v hd="$(column 5)" -v hp="$(column 6)" \
    'BEGIN { printf "medians: frame ratio %.3f, depth pass ratio %.3f, processor ratio %.3f\n",
             hf / bf, hd / bd, hp / bp }'
