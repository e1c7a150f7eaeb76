# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests of what is installed beside the programs.

# The options named in a text: words with one or two leading dashes that stand alone
# or after a bracket, bar, comma or quote ("-x N, -y N", "[--json]", "(--key").
options_in() {
    grep -oE '(^|[][[:space:](|,"])--?[[:alpha:]][[:alnum:]-]*' | sed -E 's/^[^-]*//' | sort -u
}

# The commands a program's help lists under "Kommandon:".
commands_of() {
    "$1" --help | awk '/^Kommandon:/ { listed = 1; next }
                       listed && /^$/ { exit }
                       listed && /^  [a-z]+  / { print $1 }'
}
