#!/usr/bin/env bash
# Checks the generated documentation in a real browser. Builds sylva, documents examples/ twice
# into a scratch directory (built-in templates, and themes/modern.ini as SYLVA.INI in the working
# directory), then drives headless chromium over both sites served on 127.0.0.1
# (tests/browser/site_test.mjs). Exits non-zero when any check fails. Not part of `make test`.
#
#   scripts/browser-test.sh                 run the checks
#   scripts/browser-test.sh --screenshots   also save pictures of the frame sets into docs/
#   scripts/browser-test.sh --scan DIR      document DIR instead of examples/
#   scripts/browser-test.sh --keep          keep the scratch directory and print where it is
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

project=Nursery
description="A small C++ library for a tree nursery, documented with Sylva"
scan="$repo/examples"
# The item shown in the pictures: a class with a syntax block, sections and See also links.
item_args=(--item CBed)
screenshot_args=()
keep=0
while [ $# -gt 0 ]; do
    case "$1" in
        --screenshots) screenshot_args=(--screenshots "$repo/docs") ;;
        --scan)
            [ $# -ge 2 ] || { echo "--scan needs a directory" >&2; exit 2; }
            scan=$(cd "$2" && pwd)
            item_args=()
            shift
            ;;
        --keep) keep=1 ;;
        *)
            echo "usage: scripts/browser-test.sh [--screenshots] [--scan DIR] [--keep]" >&2
            exit 2
            ;;
    esac
    shift
done

# Node and npm may come from a package other than Debian's (one that ships npm inside nodejs):
# ask for Debian's only when the command is missing.
extra_packages=(chromium fonts-dejavu-core)
command -v node >/dev/null || extra_packages+=(nodejs)
command -v npm >/dev/null || extra_packages+=(npm)
scripts/setup.sh "${extra_packages[@]}"
if ! node -e 'process.exit(Number(process.versions.node.split(".")[0]) >= 20 ? 0 : 1)'; then
    echo "playwright-core needs Node.js 20 or newer; this is $(node --version)" >&2
    exit 2
fi
(cd tests/browser && npm ci --no-audit --no-fund --loglevel=error)
scripts/build.sh build

scratch=$(mktemp -d)
if [ "$keep" -eq 1 ]; then
    echo "Scratch directory kept: $scratch"
else
    trap 'rm -rf "$scratch"' EXIT
fi
# Pages carry the generation time; a fixed one keeps the pictures stable between runs.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"

# generate THEME [CONFIG]: documents the scan directory into $scratch/site/THEME, running sylva in
# a directory of its own that holds CONFIG as SYLVA.INI (or no SYLVA.INI at all).
generate() {
    local theme=$1 config=${2:-}
    local workdir="$scratch/run-$theme"
    mkdir -p "$workdir"
    if [ -n "$config" ]; then
        cp "$config" "$workdir/SYLVA.INI"
    fi
    echo "== documenting $scan with the $theme theme"
    (cd "$workdir" && "$repo/build/src/app/sylva" "-PROJECT=$project" "-DESC=$description" \
        "-SCAN=$scan" "-OUT=$scratch/site/$theme" -FORCE)
}
generate default
generate modern "$repo/themes/modern.ini"

echo "== the browser test's own rules and link check"
node --test tests/browser/rules.test.mjs tests/browser/crawl.test.mjs
echo "== the generated sites in headless chromium"
node tests/browser/site_test.mjs --root "$scratch/site" "--project=$project" \
    ${item_args[@]+"${item_args[@]}"} ${screenshot_args[@]+"${screenshot_args[@]}"}
