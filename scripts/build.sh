#!/usr/bin/env bash
# Configures and builds Sylva into a build directory: scripts/build.sh <dir> [cmake options...]
# BUILD_TYPE chooses the CMake build type (RelWithDebInfo), BUILD_TARGET one target (all).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$1
shift
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
