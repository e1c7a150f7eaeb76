#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times kvistra-cli hide and reveal on a 4000 x 3000 cover against cp of the same
# picture file, alternating the commands, and prints median ratios and peak memory.
# Usage: bench/cli-vs-cp.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
rounds="${2:-9}"
cli="$build/cli/kvistra-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$cli" hide --size 4000x3000 --text "omslag" --out "$work/cover.bmp"
head -c 32767 /dev/zero | tr '\0' 'k' >"$work/message"
"$cli" hide --cover "$work/cover.bmp" --message-file "$work/message" -x 0 -y 0 \
    --out "$work/hidden.bmp" --key "$work/key.txt"

declare -A commands=(
    [cp]="cp $work/cover.bmp $work/copy.bmp"
    [hide]="$cli hide --cover $work/cover.bmp --message-file $work/message -x 0 -y 0 --out $work/out.bmp --key $work/out.txt"
    [reveal]="$cli reveal $work/hidden.bmp --key $work/key.txt --out $work/text"
)

nanoseconds() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

for name in cp hide reveal; do : >"$work/$name.times"; done
for ((round = 0; round <= rounds; ++round)); do
    for name in cp hide reveal; do
        start=$(nanoseconds)
        ${commands[$name]} >/dev/null
        end=$(nanoseconds)
        # The first round warms the page cache and is not counted.
        ((round > 0)) && echo $(((end - start) / 1000)) >>"$work/$name.times"
    done
done

cp_us=$(median <"$work/cp.times")
picture_kib=$(($(stat -c %s "$work/cover.bmp") / 1024))
for name in cp hide reveal; do
    us=$(median <"$work/$name.times")
    peak_kib=$(/usr/bin/time -f %M ${commands[$name]} 2>&1 >/dev/null | tail -1)
    awk -v n="$name" -v us="$us" -v cp="$cp_us" -v peak="$peak_kib" -v pic="$picture_kib" \
        'BEGIN { printf "%-7s median %8.1f ms  %5.2f x cp   peak %7.1f MiB  %4.2f x picture\n",
                 n, us / 1000, us / cp, peak / 1024, peak / pic }'
done
