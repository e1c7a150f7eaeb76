# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by the scripts in scripts/.

kvistra_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# The packages a relation field names (Build-Depends of debian/control, Depends of
# debian/tests/control), without versions, architectures, build profiles or
# alternatives after the first; debhelper for debhelper-compat, nothing for "@".
kvistra_field_packages() { # file, field
    awk -v field="$2" '
        tolower($0) ~ "^" tolower(field) ":" { inside = 1; sub(/^[^:]*:/, ""); print; next }
        inside && /^[ \t]/ { print; next }
        { inside = 0 }' "$1" |
        tr ',' '\n' | sed -E 's/\|.*//; s/\([^)]*\)//g; s/\[[^]]*\]//g; s/<[^>]*>//g' |
        awk '$1 != "" && $1 != "@" && $1 !~ /^#/ { print ($1 == "debhelper-compat" ? "debhelper" : $1) }'
}

# What the build needs, from the source package; what the package's own test
# needs; and the tools of the scripts beyond them: the benchmarks, the locales of
# the tests, and the package's build and checks.
mapfile -t KVISTRA_PACKAGES < <(
    kvistra_field_packages "$kvistra_root/debian/control" Build-Depends
    kvistra_field_packages "$kvistra_root/debian/tests/control" Depends
)
KVISTRA_PACKAGES+=(make dpkg-dev libbenchmark-dev libxcb-damage0-dev time locales lintian autopkgtest
    strace)

kvistra_ensure_packages() {
    local missing=()
    local package
    for package in "${KVISTRA_PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    echo "Installerar saknade paket: ${missing[*]}" >&2
    local sudo=()
    if ((EUID != 0)); then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Generates a locale (e.g. sv_SE.UTF-8) when the system does not have it yet.
kvistra_ensure_locale() {
    local name=$1
    local normalised=${name/.UTF-8/.utf8}
    if locale -a 2>/dev/null | grep -qx -e "$name" -e "$normalised"; then
        return 0
    fi
    echo "Genererar språkmiljön $name" >&2
    local sudo=()
    if ((EUID != 0)); then
        sudo=(sudo)
    fi
    local entry="$name ${name#*.}"
    if grep -q "^# *$entry\$" /etc/locale.gen 2>/dev/null; then
        "${sudo[@]}" sed -i "s/^# *$entry\$/$entry/" /etc/locale.gen
    elif ! grep -q "^$entry\$" /etc/locale.gen 2>/dev/null; then
        echo "$entry" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo[@]}" locale-gen >/dev/null
}
