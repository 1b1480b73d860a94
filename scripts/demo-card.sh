#!/usr/bin/env bash
# Puts the demo member card on the simulated reader of build/dist/. The card is issued into
# build/demo-card.mfd only when that file is missing, so its balance carries over between runs.
# Usage: scripts/demo-card.sh   (after a build of the default preset)
set -euo pipefail
cd "$(dirname "$0")/.."
card=build/demo-card.mfd
if [ ! -f "$card" ]; then
    build/dist/kxcard issue "$card" --name 陈小梅 --cer-no 330106199003071234 --cer-type 0 \
        --sex 2 --address 杭州市西湖区文三路90号 --phone 13857112345 --birthday 1990-03-07 \
        --balance 500.00 --points 1280 --serial 5A3C9E01
fi
build/dist/kxcard place "$card" --dist build/dist
