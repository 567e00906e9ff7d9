#!/usr/bin/env bash
# How long the window takes to keep its job list on disk: 1,000 rows saved 50 times
# through the same atomic save (the data on disk before the rename). Prints the median
# and the slowest save in ms; the goal is under 20 ms. Usage: bench/joblist.sh [build folder]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
read -r median slowest < <("$build/vv_joblist_bench" 1000 50)
echo "1000 rows: median ${median} ms, slowest ${slowest} ms per save"
