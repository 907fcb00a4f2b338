#!/bin/bash
# A Crafty-protocol engine for tests: it greets, appends every line it receives to
# received.log in its folder, and answers a line from the file "answers" there, whose lines
# read "received line|reply" (the reply's "\n" are line ends). It ends at "exit" or at the end of
# its input.
printf 'Crafty v0.0 (scripted)\n'
while IFS= read -r line; do
    printf '%s\n' "$line" >> received.log
    [ "$line" = exit ] && exit 0
    if [ -f answers ]; then
        while IFS='|' read -r wanted reply; do
            if [ "$wanted" = "$line" ]; then printf '%b\n' "$reply"; fi
        done < answers
    fi
done
