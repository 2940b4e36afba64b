#!/usr/bin/env bash
# Installs what building and testing Sylva needs on Debian 12, when it is missing.
# Runs apt-get as root, or through sudo for other users. Extra package names may be passed.
set -euo pipefail

packages=(g++ make cmake pkgconf libgtest-dev libmd4c-dev qt6-base-dev libgl-dev libsqlite3-dev libxxhash-dev
          libmimalloc-dev nlohmann-json3-dev python3-jsonschema "$@")
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
else
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
