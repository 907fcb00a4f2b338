#!/usr/bin/env bash
# The whole `qorvale-tool tree` command over a PGN file with a current fast file:
#   bench/tree_command.sh TOOL FILE [ROUNDS]
# For each case the tree files are put in the state the case needs (untimed), then the command
# runs with its output to /dev/null. Prints the best wall clock and the best processor time (user
# + system) of ROUNDS runs (default 9), in milliseconds. On a crowded machine the wall clock
# mostly measures the wait for a processor; the processor time does not.
set -euo pipefail
tool=$1
file=$2
rounds=${3:-9}
stem=${file%???}
line="1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 a6"
times=$(mktemp)
trap 'rm -f "$times"' EXIT

clear_tree() { rm -f "$stem"TRE "$stem"TRX "$stem"TWE "$stem"TWX "$stem"TRT; }
root_only() { clear_tree; "$tool" tree "$file" >/dev/null; }
nothing() { :; }

best() {  # best NAME PREPARE ARGS...
    local name=$1 prepare=$2
    shift 2
    local best_wall=999999 best_cpu=999999
    for _ in $(seq "$rounds"); do
        "$prepare"
        /usr/bin/time -f "%e %U %S" -o "$times" "$tool" tree "$file" "$@" >/dev/null
        read -r wall user system <"$times"
        local wall_ms cpu_ms
        wall_ms=$(awk -v w="$wall" 'BEGIN { printf "%d", w * 1000 }')
        cpu_ms=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1000 }')
        (( wall_ms < best_wall )) && best_wall=$wall_ms
        (( cpu_ms < best_cpu )) && best_cpu=$cpu_ms
    done
    printf '%-50s %6d ms wall %6d ms processor\n' "$name" "$best_wall" "$best_cpu"
}

"$tool" tree "$file" >/dev/null  # warm the page cache
best "root of a new tree" clear_tree
best "new node: 1.e4 on a tree of the root" root_only --line "1.e4"
best "expanded node: 1.e4 from the tree file" nothing --line "1.e4"
best "10 new nodes down 1.e4 c5 ... 5.Nc3 a6" root_only --line "$line"
best "the same 10 nodes from the tree file" nothing --line "$line"
clear_tree
