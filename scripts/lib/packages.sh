# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by the scripts in scripts/.

KVISTRA_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libpng-dev
    libxcb1-dev libxcb-randr0-dev libxcb-damage0-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core time locales
    dpkg-dev file lintian appstream desktop-file-utils man-db bash-completion
    libsodium-dev libssl-dev libgmp-dev
)

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
