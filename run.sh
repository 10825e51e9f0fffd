#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the bundled
# sample exchange.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target kvx410 -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting kvx410 under a virtual X display (xvfb-run); stop it with Ctrl+C."
  exec xvfb-run -a -s "-screen 0 1024x768x24" build/kvx410
fi
exec build/kvx410
