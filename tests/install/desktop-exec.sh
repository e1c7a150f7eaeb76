#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop entry's Exec line, expanded as a desktop expands it for three pictures
# chosen together: every program it starts takes what it is given and runs (it is
# still running after a moment); none stops with a usage error that only standard
# error, which nobody sees, would tell.
# Usage: desktop-exec.sh DESKTOP_ENTRY PROGRAM CLI_PROGRAM
set -uo pipefail
entry=$1
program=$(realpath "$2")
cli=$(realpath "$3")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
for name in a b c; do
    "$cli" hide --text "$name" --size 20x10 --out "$name.bmp" || exit 1
done
chosen=("$folder/a.bmp" "$folder/b.bmp" "$folder/c.bmp")

exec_line=$(sed -n 's/^Exec=//p' "$entry")
read -ra words <<<"$exec_line"
# The commands the desktop starts: one per file for %f and %u, one for all for %F and %U.
commands=()
case " ${words[*]} " in
    *" %f "* | *" %u "*) for file in "${chosen[@]}"; do commands+=("$file"); done ;;
    *" %F "* | *" %U "*) commands+=("${chosen[*]}") ;;
    *) commands+=("") ;;
esac
failed=0
for files in "${commands[@]}"; do
    args=()
    for word in "${words[@]:1}"; do
        case $word in
            %[fuFU]) read -ra given <<<"$files" && args+=("${given[@]}") ;;
            %*) ;;
            *) args+=("$word") ;;
        esac
    done
    timeout 3 "$program" -platform offscreen "${args[@]}" >/dev/null 2>"$folder/err"
    status=$?
    if [[ $status != 124 ]]; then
        echo "kvistra ${args[*]}: ended with status $status: $(cat "$folder/err")"
        failed=1
    fi
done
exit "$failed"
