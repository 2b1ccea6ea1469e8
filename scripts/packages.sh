# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the build scripts: install_missing PACKAGE... installs, as root with apt-get, the
# Debian packages that are not installed yet, and stops with a clear message when not root.
install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if ((${#missing[@]})); then
        if [[ $(id -u) -ne 0 ]]; then
            echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
            exit 1
        fi
        echo "Installing: ${missing[*]}"
        apt-get update
        DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    fi
}
