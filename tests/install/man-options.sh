#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A manual page and its program's help name the same options: the page's options
# section (FLAGGOR in Swedish, OPTIONS in English) those of `PROGRAM --help`, and a
# subsection for each command its help lists those of `PROGRAM COMMAND --help`. An
# option missing from the page fails, and so does an entry for an option the help no
# longer names. Each command's synopsis on the page has the options, brackets,
# parentheses and bars of its help's, in the same order.
# Usage: man-options.sh PAGE PROGRAM [OPTIONS_HEADING]
# Sorted the same way in every locale.
export LC_ALL=C
set -euo pipefail
page=$1
program=$2
options_heading=${3:-FLAGGOR}
source "$(dirname "$0")/help-options.sh"

# The options on the tag lines of the .TP entries under the .SH or .SS heading given.
page_options() {
    awk -v wanted="$1" '
        /^\.S[HS] / { heading = $0; sub(/^\.S[HS] +/, "", heading); gsub(/"/, "", heading); next }
        tag { tag = 0; if (heading == wanted) print; next }
        /^\.TP/ { tag = 1 }' "$page" |
        sed -E 's/\\-/-/g; s/\\f[BIRP]//g; s/^\.[A-Z]+ //' | options_in
}

# The options and the marks [ ] ( ) | of a synopsis, one a line.
synopsis_marks() {
    sed -E 's/\\-/-/g; s/^\.[A-Z]+ //; s/[][()|]/ & /g' | tr -s ' \t' '\n' |
        grep -E '^(--?[[:alpha:]][[:alnum:]-]*|[][()|])$' || true
}
help_synopsis() { # the usage lines of `PROGRAM COMMAND --help`, up to the first empty line
    "$program" "$1" --help | awk '/^$/ { exit } { print }'
}
page_synopsis() { # the .SY block of the command
    awk -v wanted=".SY \"kvistra\\\\-cli $1\"" '
        $0 == wanted { inside = 1; next }
        inside && /^\.YS/ { exit }
        inside { print }' "$page"
}

failed=0
compare() { # where, the help's options, the page's options
    local missing extra
    missing=$(comm -23 <(echo "$2") <(echo "$3") | xargs)
    extra=$(comm -13 <(echo "$2") <(echo "$3") | xargs)
    if [[ -n $missing ]]; then
        echo "$page ($1): no entry for $missing"
        failed=1
    fi
    if [[ -n $extra ]]; then
        echo "$page ($1): entries for $extra, which the help does not name"
        failed=1
    fi
}

compare "$options_heading" "$("$program" --help | options_in)" "$(page_options "$options_heading")"
commands=$(commands_of "$program")
for command in $commands; do
    if ! grep -qx "\.SS $command" "$page"; then
        echo "$page: no section for the command $command"
        failed=1
    fi
    compare "$command" "$("$program" "$command" --help | options_in)" "$(page_options "$command")"
    page_marks=$(page_synopsis "$command" | synopsis_marks)
    help_marks=$(help_synopsis "$command" | synopsis_marks)
    if [[ $page_marks != "$help_marks" ]]; then
        echo "$page ($command): the synopsis differs from the help's:"
        diff <(echo "$help_marks") <(echo "$page_marks") || true
        failed=1
    fi
done
if [[ -z $(page_options "$options_heading") ]]; then
    echo "$page: no options found at all"
    failed=1
fi
exit "$failed"
