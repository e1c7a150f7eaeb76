#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kvistra-cli's start and a sealed message's opening, as ratios measured side by
# side in one run (medians of ROUNDS alternated pairs):
#   - kvistra-cli --version against cp --version (goal: within 2 x);
#   - reveal of a 269 x 253 picture against cp of it (goal: within 2 x);
#   - reveal of the longest sealed message against one of ten characters, and the
#     same for hide (goal: within 1.2 x; the key derivation is the same in both).
# Usage: bench/cli-start.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
rounds="${2:-21}"
cli="$build/cli/kvistra-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$root/bench/pairs.sh"

"$cli" hide --text "Möt mig vid bron" -x 40 -y 12 --out "$work/small.bmp" --key "$work/small.txt"
echo "== start"
pair "--version against cp --version" "$rounds" "$cli --version" "cp --version"
pair "reveal 269 x 253 against cp" "$rounds" \
    "$cli reveal $work/small.bmp --key $work/small.txt" "cp $work/small.bmp $work/copy.bmp"

printf 'lösenfras\n' >"$work/phrase"
longest=$("$cli" capacity --size 269x253 -x 0 -y 0 --sealed)
LC_ALL=C tr -dc 'a-zA-Z0-9 ' </dev/urandom | head -c "$longest" >"$work/long.txt" || true
printf 'tio tecken' >"$work/ten.txt"
for size in long ten; do
    "$cli" hide --message-file "$work/$size.txt" -x 0 -y 0 --passphrase-file "$work/phrase" \
        --out "$work/$size.bmp" --key "$work/$size.key"
done
echo "== a sealed message of $longest characters against one of ten"
pair "reveal sealed, longest against 10" "$((rounds / 2))" \
    "$cli reveal $work/long.bmp --key $work/long.key --passphrase-file $work/phrase" \
    "$cli reveal $work/ten.bmp --key $work/ten.key --passphrase-file $work/phrase"
pair "hide sealed, longest against 10" "$((rounds / 2))" \
    "$cli hide --message-file $work/long.txt -x 0 -y 0 --passphrase-file $work/phrase --out $work/o1.bmp" \
    "$cli hide --message-file $work/ten.txt -x 0 -y 0 --passphrase-file $work/phrase --out $work/o2.bmp"
