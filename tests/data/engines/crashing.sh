#!/bin/bash
# A UCI engine that dies of a segmentation fault in the middle of its first search.
while read -r line; do
    case "$line" in
        uci) printf 'id name crashing\nuciok\n' ;;
        isready) printf 'readyok\n' ;;
        go*) printf 'info depth 1 score cp 20 pv e2e4\ninfo depth 2 score cp 25 pv e2e4 e7e5\n'
             kill -SEGV $$ ;;
    esac
done
