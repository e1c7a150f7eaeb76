# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by the scripts in scripts/.

KVISTRA_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
    libxcb1-dev libxcb-randr0-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core time
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
