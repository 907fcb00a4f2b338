#!/bin/bash
# A UCI engine that ignores "quit", SIGTERM and the end of its input: only SIGKILL ends it.
trap '' TERM INT HUP
while read -r line; do
    case "$line" in
        uci) printf 'id name deaf\nuciok\n' ;;
        isready) printf 'readyok\n' ;;
    esac
done
exec sleep 600
