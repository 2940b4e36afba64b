#!/usr/bin/env bash
# Sets up, builds, and documents the bundled examples/ into demo-output/ with the modern theme
# (themes/modern.ini: current HTML, phone layout, light and dark colours, search).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
scripts/setup.sh
BUILD_TARGET=sylva scripts/build.sh build
rm -rf demo-output
# Batch mode reads its configuration from SYLVA.INI in the directory it runs in: the theme gets a
# directory of its own, so that no SYLVA.INI is left behind to change later runs.
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
cp themes/modern.ini "$workdir/SYLVA.INI"
(cd "$workdir" && "$repo/build/src/app/sylva" -PROJECT=Nursery \
    "-DESC=A small C++ library for a tree nursery, documented with Sylva" \
    "-SCAN=$repo/examples" "-OUT=$repo/demo-output" -FORCE)
echo
echo "Documentation written with the modern theme. Open this page in a browser:"
echo "  $repo/demo-output/SYLVA_MAIN_INDEX.HTML"
echo "Press / on any page to search. For the built-in templates instead, run sylva from a"
echo "directory without SYLVA.INI (see README.md, Themes)."
