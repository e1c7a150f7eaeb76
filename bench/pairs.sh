# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the benchmarks that set one command against another: each pair is run
# in turn, A then B, ROUNDS times after a round not counted, and reported as the
# medians of each and the median of the ratios pair by pair, so that a machine
# whose speed drifts during the run still gives a fair ratio.

# Microseconds, from bash's own clock: no process started to read it.
microseconds() {
    local now=${EPOCHREALTIME/[.,]/}
    echo "${now#0}"
}

median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# pair NAME ROUNDS 'COMMAND A' 'COMMAND B': the commands are split into words as
# a shell splits them, their output thrown away.
pair() {
    local name=$1 rounds=$2 a=$3 b=$4 round start middle end
    local times_a=() times_b=() ratios=()
    for ((round = 0; round <= rounds; ++round)); do
        start=$(microseconds)
        $a >/dev/null 2>&1 </dev/null
        middle=$(microseconds)
        $b >/dev/null 2>&1 </dev/null
        end=$(microseconds)
        if ((round > 0)); then
            times_a+=($((middle - start)))
            times_b+=($((end - middle)))
            ratios+=("$(awk -v a=$((middle - start)) -v b=$((end - middle)) 'BEGIN { print a / b }')")
        fi
    done
    awk -v n="$name" -v a="$(printf '%s\n' "${times_a[@]}" | median)" \
        -v b="$(printf '%s\n' "${times_b[@]}" | median)" \
        -v r="$(printf '%s\n' "${ratios[@]}" | median)" \
        'BEGIN { printf "%-34s %9.2f ms against %9.2f ms   %5.2f x\n", n, a / 1000, b / 1000, r }'
}
