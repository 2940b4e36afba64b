#!/usr/bin/env bash
# Sets up, builds, and documents the bundled examples/ into demo-output/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD_TARGET=sylva scripts/build.sh build
rm -rf demo-output
build/src/app/sylva -PROJECT=Nursery \
    "-DESC=A small C++ library for a tree nursery, documented with Sylva" \
    -SCAN=examples -OUT=demo-output -FORCE
echo
echo "Documentation written. Open this page in a browser:"
echo "  $(pwd)/demo-output/SYLVA_MAIN_INDEX.HTML"
