#!/usr/bin/env bash
# Renders the README's pictures anew: runs the test suites that render the
# program's windows on the sample exchange at 1024 x 768, and copies their
# screenshots into docs/images/ (tools/doc-images.py says which).
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath -m "${1:-build}")"
export QT_QPA_PLATFORM=offscreen
cmake -S . -B "$build" -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" --target test_viewer test_editor -j"$(nproc)"
export KVX_BUILD_DIR="$build"
"$build/tests/test_viewer" -silent
"$build/tests/test_editor" -silent
python3 tools/doc-images.py update "$build/screenshots" docs/images
