#!/usr/bin/env bash
# Builds and runs the KXPrintIF benchmarks (default preset) and prints our throughput as a share
# of OpenSSL's for SEC_3DES_ECB_Calc (1 MiB) and SEC_MD5_Calcu (16 MiB); the goal is 0.8 or more.
# Usage: scripts/bench-printif.sh [build-dir]   (default: build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash scripts/setup.sh
cmake --preset default -B "$build" >/dev/null
cmake --build "$build" --target printif_bench
csv=$("$build/printif/bench/printif_bench" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
echo "$csv" | awk -F, '
    $1 ~ /_median"?$/ {
        name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
        split(name, part, "/"); rate[part[1], part[2]] = $6; seen[part[1]] = 1
        printf "%-28s %10.1f MiB/s\n", name, $6 / 1048576
    }
    END {
        status = 0
        for (f in seen) {
            ratio = rate[f, "ours"] / rate[f, "openssl"]
            printf "%-20s ours / OpenSSL = %.2f%s\n", f, ratio, (ratio >= 0.8 ? "" : "  (below 0.8)")
            if (ratio < 0.8) status = 1
        }
        exit status
    }'
