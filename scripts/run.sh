#!/usr/bin/env bash
# Builds the converter (installing what a fresh Debian 12 machine lacks) and starts it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/deps.sh"

ensure_packages "${PROGRAM_PACKAGES[@]}"
configure_build "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$ROOT/build" --target tarnwickpro
exec "$ROOT/build/TarnwickPro/tarnwickpro" "$@"
