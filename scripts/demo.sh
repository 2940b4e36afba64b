#!/usr/bin/env bash
# Sets up, builds, and documents the bundled examples/ into demo-output/ with the modern theme
# (themes/modern.ini: current HTML, phone layout, light and dark colours, search), saying in one
# line what each step does. What the package manager and the compiler print goes to build/demo.log; a step
# that fails shows its part of that log.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
log=build/demo.log
: >"$log"

# step DESCRIPTION COMMAND...: runs COMMAND with its output in the log.
step() {
    local description=$1
    shift
    printf '%s ... ' "$description"
    local start
    start=$(wc -l <"$log")
    if "$@" >>"$log" 2>&1; then
        echo done
    else
        local status=$?
        echo "failed (exit status $status):"
        tail -n "+$((start + 1))" "$log"
        echo "The whole log: $(pwd)/$log"
        exit "$status"
    fi
}

step "Installing the Debian packages Sylva needs, where missing" scripts/setup.sh
step "Building sylva (some minutes the first time)" env BUILD_TARGET=sylva scripts/build.sh build
rm -rf demo-output
step "Documenting examples/ into demo-output/ with the modern theme" build/src/app/sylva \
    -PROJECT=Nursery "-DESC=A small C++ library for a tree nursery, documented with Sylva" \
    -SCAN=examples -OUT=demo-output -CONFIG=themes/modern.ini -FORCE
echo
echo "Documentation written with the modern theme. Open this page in a browser:"
echo "  $(pwd)/demo-output/SYLVA_MAIN_INDEX.HTML"
echo "Press / on any page to search. Without -CONFIG, sylva uses the built-in templates (see"
echo "README.md, Themes)."
