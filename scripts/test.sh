#!/usr/bin/env bash
# Sets up, builds with warnings as errors, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DSYLVA_WARNINGS_AS_ERRORS=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
