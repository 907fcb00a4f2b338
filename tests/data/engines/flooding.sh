#!/bin/bash
# A UCI engine that answers a search with far more output than one read takes: 4000 distinct
# info lines (about 240,000 bytes) at once, then its best move.
while read -r line; do
    case "$line" in
        uci) printf 'id name flooding\nuciok\n' ;;
        isready) printf 'readyok\n' ;;
        go*) for ((i = 1; i <= 4000; i++)); do
                 printf 'info depth 9 nodes %d score cp %d pv e2e4 e7e5 g1f3 b8c6 f1b5\n' $i $i
             done
             printf 'bestmove e2e4\n' ;;
        quit) exit 0 ;;
    esac
done
