#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Large pictures through kvistra-cli, measured side by side in one run (medians of
# ROUNDS alternated rounds, after a warm-up round):
#   - hide 8000 x 8000 to PNG against the same to a bitmap;
#   - reveal of a 16000 x 16000 PNG with the key in the first rows;
#   - peak memory of every command on 16000 x 16000 pictures;
#   - hide against steghide embed of the same 32 KB into the same 4000 x 3000 bitmap.
# Usage: bench/cli-large.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
rounds="${2:-5}"
cli="$build/cli/kvistra-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# Seconds (to the microsecond: time's own are hundredths) and peak KiB of one run,
# appended to $work/NAME.seconds and .kib.
measure() {
    local name=$1 start end
    shift
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/time" "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.6f\n", ns / 1e9 }' >>"$work/$name.seconds"
    cat "$work/time" >>"$work/$name.kib"
}

# Runs each named command once per round, in turn; the first round is not counted.
compare() {
    local names=("$@")
    for ((round = 0; round <= rounds; ++round)); do
        for name in "${names[@]}"; do
            if ((round == 0)); then
                eval "${commands[$name]}" >/dev/null 2>&1
            else
                eval "measure $name ${commands[$name]}"
            fi
        done
    done
}

report() {
    local name=$1 base=${2:-}
    local seconds kib
    seconds=$(median <"$work/$name.seconds")
    kib=$(sort -n "$work/$name.kib" | tail -1)
    if [[ -n $base ]]; then
        awk -v n="$name" -v s="$seconds" -v b="$(median <"$work/$base.seconds")" -v k="$kib" -v base="$base" \
            'BEGIN { printf "%-28s median %8.3f s  %6.2f x %-16s peak %7.1f MiB\n", n, s, s / b, base, k / 1024 }'
    else
        awk -v n="$name" -v s="$seconds" -v k="$kib" \
            'BEGIN { printf "%-28s median %8.3f s                           peak %7.1f MiB\n", n, s, k / 1024 }'
    fi
}

message="$work/message"
LC_ALL=C tr -dc 'a-zA-Z0-9 ' </dev/urandom | head -c 32767 >"$message" || true

declare -A commands=(
    [hide-8000-bmp]="$cli hide --size 8000x8000 --message-file $message -x 0 -y 0 --out $work/o8.bmp --key $work/k8.txt"
    [hide-8000-png]="$cli hide --size 8000x8000 --message-file $message -x 0 -y 0 --out $work/o8.png --key $work/k8p.txt"
)
echo "== hide 8000 x 8000: PNG against bitmap"
compare hide-8000-bmp hide-8000-png
report hide-8000-bmp
report hide-8000-png hide-8000-bmp


"$cli" hide --size 16000x16000 --text "Hej på dig" -x 3 -y 2 --out "$work/big.png" --key "$work/big.txt" 2>/dev/null
"$cli" hide --size 16000x16000 --text "Hej på dig" -x 3 -y 2 --out "$work/big.bmp" --key "$work/bigb.txt" 2>/dev/null
commands=(
    [reveal-16000-png]="$cli reveal $work/big.png --key $work/big.txt"
    [reveal-16000-bmp]="$cli reveal $work/big.bmp --key $work/bigb.txt"
)
echo "== reveal 16000 x 16000, the key in the first rows"
compare reveal-16000-bmp reveal-16000-png
report reveal-16000-bmp
report reveal-16000-png reveal-16000-bmp

echo "== peak memory of every command at 16000 x 16000 (one run each)"
rounds=1
commands=(
    [hide-key-bmp]="$cli hide --cover $work/big.bmp --text hej -x 9 -y 9 --out $work/m1.bmp"
    [hide-key-png]="$cli hide --cover $work/big.png --text hej -x 9 -y 9 --out $work/m2.png"
    [hide-adapt-bmp-cover]="$cli hide --cover $work/big.bmp --text hej --adapt --out $work/m3.bmp"
    [hide-adapt-png-cover]="$cli hide --cover $work/big.png --text hej --adapt --out $work/m4.png"
    [reveal-png]="$cli reveal $work/big.png --key $work/big.txt"
    [inspect-last-row-png]="$cli inspect $work/big.png 15999 15999"
    [capacity-png]="$cli capacity $work/big.png"
)
for name in hide-key-bmp hide-key-png hide-adapt-bmp-cover hide-adapt-png-cover reveal-png inspect-last-row-png capacity-png; do
    compare "$name"
    report "$name"
    rm -f "$work"/m?.*
done
rm -f "$work/big.png" "$work/big.bmp"

if command -v steghide >/dev/null; then
    rounds="${2:-5}"
    "$cli" hide --size 4000x3000 --text omslag --out "$work/cover.bmp" 2>/dev/null
    commands=(
        [kvistra-hide]="$cli hide --cover $work/cover.bmp --message-file $message -x 0 -y 0 --out $work/k.bmp --key $work/k.txt"
        [steghide-embed]="steghide embed -f -q -cf $work/cover.bmp -ef $message -p '' -sf $work/s.bmp"
    )
    echo "== 32 KB into a 4000 x 3000 bitmap: steghide against kvistra-cli"
    compare kvistra-hide steghide-embed
    report kvistra-hide
    report steghide-embed kvistra-hide
fi
