#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion of kvistra-cli, as bash-completion runs it: commands, options,
# picture and key file names by extension, nothing where a value of the user's own
# goes; and for each command the options its help names.
# Usage: completion.sh COMPLETION_FILE PROGRAM
# Sorted the same way in every locale.
export LC_ALL=C
set -uo pipefail
completion=$(realpath "$1")
program=$(realpath "$2")
source "$(dirname "$0")/help-options.sh"
source /usr/share/bash-completion/bash_completion
source "$completion"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
touch a.bmp B.PNG c.jpg nyckel.txt anteckning
mkdir mapp
touch mapp/nyckel.key

# The sorted completions of a command line whose last word is being completed.
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _kvistra_cli kvistra-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort -u | xargs
}

failed=0
expect() { # the completions expected, then the words of the line
    local expected=$1
    shift
    local got
    got=$(complete_words "$@")
    if [[ $got != "$expected" ]]; then
        echo "FEL  '$*': got '$got', expected '$expected'"
        failed=1
    fi
}

# kvistra-cli "$command" and what follows completes as the table says.
expect "--help --version capacity hide inspect reveal" kvistra-cli ""
expect "hide" kvistra-cli hi
expect "--text --text-file" kvistra-cli hide --te
expect "B.PNG a.bmp mapp" kvistra-cli hide --text hej --out ""
expect "B.PNG a.bmp mapp" kvistra-cli hide --cover ""
expect "mapp nyckel.txt" kvistra-cli hide --out bild.bmp --key ""
expect "B.PNG a.bmp anteckning c.jpg mapp nyckel.txt" kvistra-cli hide --text-file ""
expect "" kvistra-cli hide -x ""
expect "" kvistra-cli hide --text ""
expect "B.PNG a.bmp mapp" kvistra-cli reveal ""
expect "B.PNG a.bmp mapp" kvistra-cli reveal --key nyckel.txt ""
expect "" kvistra-cli reveal a.bmp ""
expect "B.PNG a.bmp anteckning c.jpg mapp nyckel.txt" kvistra-cli reveal a.bmp --out ""
expect "B.PNG a.bmp mapp" kvistra-cli capacity --json ""
expect "" kvistra-cli inspect a.bmp ""
expect "" kvistra-cli okänt ""
# A folder without *.txt offers whatever key file it holds.
expect "mapp/nyckel.key" kvistra-cli reveal a.bmp --key mapp/

# Every command of the help, and for each exactly the options of its help.
commands=$(commands_of "$program" | xargs)
for command in $commands; do
    expect "$( (echo --help; "$program" "$command" --help | options_in) | sort -u | xargs)" \
        kvistra-cli "$command" -
    if [[ " $(complete_words kvistra-cli "") " != *" $command "* ]]; then
        echo "FEL  the command $command is not completed"
        failed=1
    fi
done
[[ -n $commands ]] || { echo "FEL  no commands in the help"; failed=1; }
exit "$failed"
