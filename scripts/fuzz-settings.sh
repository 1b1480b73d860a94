#!/usr/bin/env bash
# Fuzzes the settings file reader with libFuzzer for a bounded time, built with clang apart from
# the normal build. A crash, a sanitizer report, a hang or runaway memory fails the run and keeps
# the failing input. Usage: scripts/fuzz-settings.sh [seconds]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/setup.sh

work=$(mktemp -d /tmp/fuzz-settings.XXXXXX)
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -Isettings/include -Igbk/include \
    settings/src/IniText.cpp gbk/src/Gbk.cpp settings/fuzz/IniTextFuzz.cpp \
    -o "$work/fuzz-settings"
mkdir "$work/corpus"

# New inputs go to the temporary corpus; the committed seeds are only read.
if "$work/fuzz-settings" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$work/" \
    "$work/corpus" settings/fuzz/corpus; then
    rm -rf "$work"
else
    echo "fuzz-settings: failed; the failing input is kept in $work" >&2
    exit 1
fi
