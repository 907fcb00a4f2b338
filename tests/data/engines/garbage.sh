#!/bin/bash
# A UCI engine that answers a search with garbage: bytes that are no text, a line of Latin-1,
# a line longer than a read, principal variations that turn illegal, and a best move that is
# not legal followed by one that is.
while read -r line; do
    case "$line" in
        uci) printf 'id name garbage\nuciok\n' ;;
        isready) printf 'readyok\n' ;;
        go*) printf '\x01\x02\xff\xfe\x00binary\n'
             printf 'caf\xe9 cr\xe8me\n'
             head -c 150000 /dev/zero | tr '\0' 'x'
             printf '\n'
             printf 'info depth 3 score cp abc pv zz\n'
             printf 'info depth 4 score cp 15 pv e2e5 e7e5\n'
             printf 'info depth 5 score cp 16 pv e2e4 e7e5 e1e3 b8c6\n'
             printf 'info depth 6 score mate 3 pv e2e4 e7e5 d1h5 b8c6 h5f7\n'
             printf 'bestmove e2e5\n'
             printf 'bestmove d2d4\n' ;;
        quit) exit 0 ;;
    esac
done
