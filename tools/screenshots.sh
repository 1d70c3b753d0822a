#!/usr/bin/env bash
# Renders every dialog of the desktop program, in English and German, and the icon sheet into
# docs/screenshots/*.png. The dialogs are drawn on a virtual X server (Xvfb) with the fonts
# installed on this machine.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

build=build/screenshots
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVQ_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target vq_render_dialogs
mkdir -p docs/screenshots
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build"/bin/vq_render_dialogs docs/screenshots
