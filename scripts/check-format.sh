#!/usr/bin/env bash
# Checks that every tracked C++ source is formatted as .clang-format says; lists the files that
# are not and exits non-zero. Installs clang-format when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh clang-format
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
