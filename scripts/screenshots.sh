#!/usr/bin/env bash
# Takes a screenshot of each terminal, after a read of the demo card, into docs/screenshots/
# (a virtual X display of the window's size, xdotool to click the read button, imagemagick).
# Usage: scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# Where each terminal's read button is, centred on a screen of the window's size.
declare -A readButton=(
    [KXNetInfoTerminal]="514 618"
    [KXNetPayTerminal]="226 544"
    [KXNetIncTerminal]="418 520"
)

if [ "${1:-}" = "--on-display" ]; then  # runs under xvfb-run, with the terminals to take
    shift
    for terminal in "$@"; do
        "build/dist/$terminal" &
        pid=$!
        xdotool search --sync --onlyvisible --class "$terminal" >/dev/null
        sleep 1
        # shellcheck disable=SC2086  # two coordinates
        xdotool mousemove ${readButton[$terminal]} click 1
        sleep 1
        import -window root "docs/screenshots/$terminal.png"
        echo "screenshots: docs/screenshots/$terminal.png"
        kill "$pid"
        wait "$pid" || true
    done
    exit 0
fi

bash scripts/setup.sh
cmake --preset default
cmake --build --preset default
bash scripts/demo-card.sh
mkdir -p docs/screenshots
present=()
for terminal in KXNetInfoTerminal KXNetPayTerminal KXNetIncTerminal; do
    if [ -x "build/dist/$terminal" ]; then
        present+=("$terminal")
    else
        echo "screenshots: build/dist/$terminal was not built; no screenshot of it" >&2
    fi
done
[ ${#present[@]} -gt 0 ] || exit 1
xvfb-run -a -s "-screen 0 1028x734x24" "$0" --on-display "${present[@]}"
