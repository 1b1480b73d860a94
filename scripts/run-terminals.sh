#!/usr/bin/env bash
# Builds everything, puts the demo member card on the simulated reader and starts the three
# terminals from build/dist/.
# Usage: scripts/run-terminals.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default
cmake --build --preset default
bash scripts/demo-card.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run-terminals: no display to show the windows on (\$DISPLAY and \$WAYLAND_DISPLAY are unset)." >&2
    echo "run-terminals: on a machine without one, run them on a virtual display:" >&2
    echo "    xvfb-run -a scripts/run-terminals.sh" >&2
    exit 1
fi

started=()
for terminal in KXNetInfoTerminal KXNetPayTerminal KXNetIncTerminal; do
    if [ -x "build/dist/$terminal" ]; then
        "build/dist/$terminal" &
        started+=("$terminal")
    else
        echo "run-terminals: build/dist/$terminal was not built; not started" >&2
    fi
done
[ ${#started[@]} -gt 0 ] || exit 1
echo "run-terminals: started ${started[*]} (reader: USB, KXD101 from build/dist/DataBase/KXConF.ini)."
echo "run-terminals: F10 reads the card; closing the windows ends this script."
wait
