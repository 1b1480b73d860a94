#!/usr/bin/env bash
# Start-up benchmark of the information terminal: the time from process start until its window
# is shown, and its peak memory, against a bare frameless Qt window of the same size (goal:
# within 1.3x on both). A window with one label of Chinese text is measured against the bare
# window too: it is the least that showing any text in the terminals' font costs.
# Runs on the offscreen platform, and on X as well when a display or xvfb-run is at hand.
# Usage: scripts/bench-startup.sh [repetitions]   (default 15; medians are printed)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--measure" ]; then  # one platform; the build is done
    repetitions=$2
    echo "KXNetInfoTerminal against the bare window:"
    build/bench/kx_startup_bench "$repetitions" build/dist/KXNetInfoTerminal \
        build/bench/kx_bare_window
    echo "One label of Chinese text against the bare window:"
    build/bench/kx_startup_bench "$repetitions" build/bench/kx_text_window \
        build/bench/kx_bare_window
    exit 0
fi

repetitions=${1:-15}
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default

echo "== offscreen platform =="
QT_QPA_PLATFORM=offscreen "$0" --measure "$repetitions"
if [ -n "${DISPLAY:-}" ]; then
    echo "== X display $DISPLAY =="
    env -u QT_QPA_PLATFORM "$0" --measure "$repetitions"
elif command -v xvfb-run >/dev/null; then
    echo "== X (xvfb-run) =="
    env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24" "$0" --measure "$repetitions"
fi
