#!/usr/bin/env bash
# Checks the generated documentation in a real browser. Builds sylva, documents examples/ twice
# into a scratch directory (built-in templates, and themes/modern.ini as SYLVA.INI in the working
# directory), then drives headless chromium over both sites served on 127.0.0.1
# (tests/browser/site_test.mjs). Exits non-zero when any check fails. Not part of `make test`.
#
#   scripts/browser-test.sh                 run the checks
#   scripts/browser-test.sh --screenshots   also save pictures of the frame sets into docs/
#   scripts/browser-test.sh --scan DIR      document DIR instead of examples/
#   scripts/browser-test.sh --style STYLE   read the sources in STYLE (sylva or doxygen)
#   scripts/browser-test.sh --project NAME  name the project NAME (with --scan; the pictures of
#                                           its frame sets are then named after it)
#   scripts/browser-test.sh --item NAME     show the item NAME in the pictures
#   scripts/browser-test.sh --theme NAME    check only the theme NAME (default or modern)
#   scripts/browser-test.sh --sample-every N  open only one description page in N (large trees)
#   scripts/browser-test.sh --keep          keep the scratch directory and print where it is
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

project=Nursery
description="A small C++ library for a tree nursery, documented with Sylva"
scan="$repo/examples"
# The item shown in the pictures: a class with a syntax block, sections and See also links.
item_args=(--item CBed)
screenshots=0
sylva_args=()
site_args=()
keep=0
usage="usage: scripts/browser-test.sh [--screenshots] [--scan DIR] [--style STYLE] [--project NAME]
       [--item NAME] [--theme NAME] [--sample-every N] [--keep]"
# needs_value OPTION COUNT: the option is followed by its value.
needs_value() { [ "$2" -ge 2 ] || { echo "$1 needs a value" >&2; exit 2; }; }
while [ $# -gt 0 ]; do
    case "$1" in
        --screenshots) screenshots=1 ;;
        --scan)
            needs_value "$1" $#
            scan=$(cd "$2" && pwd)
            item_args=()
            site_args+=(--other-tree)
            description="The headers in $scan"
            shift
            ;;
        --style) needs_value "$1" $#; sylva_args+=("-STYLE=$2"); shift ;;
        --project) needs_value "$1" $#; project=$2; shift ;;
        --item) needs_value "$1" $#; item_args=(--item "$2"); shift ;;
        --theme) needs_value "$1" $#; site_args+=(--theme "$2"); shift ;;
        --sample-every) needs_value "$1" $#; site_args+=(--sample-every "$2"); shift ;;
        --keep) keep=1 ;;
        *)
            echo "$usage" >&2
            exit 2
            ;;
    esac
    shift
done
if [ "$screenshots" -eq 1 ]; then
    site_args+=(--screenshots "$repo/docs")
    # The pictures of another tree than examples/ are named after its project.
    if [ "$scan" != "$repo/examples" ]; then
        prefix=$(echo "$project" | tr '[:upper:]' '[:lower:]' | tr -c 'a-z0-9\n' '-')
        site_args+=(--screenshot-prefix "$prefix-")
    fi
fi

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
        "-SCAN=$scan" "-OUT=$scratch/site/$theme" -FORCE ${sylva_args[@]+"${sylva_args[@]}"})
}
generate default
generate modern "$repo/themes/modern.ini"

echo "== the browser test's own rules and link check"
node --test tests/browser/rules.test.mjs tests/browser/crawl.test.mjs
echo "== the generated sites in headless chromium"
node tests/browser/site_test.mjs --root "$scratch/site" "--project=$project" \
    ${item_args[@]+"${item_args[@]}"} ${site_args[@]+"${site_args[@]}"}
