#!/usr/bin/env bash
# Builds the scan benchmark's corpus outside the repository: about 200,000 real games (~126 MB)
# concatenated from the shared game collections, a little under the per-file game limit so that
# the whole file is scanned.
#   bench/make_corpus.sh [OUT_DIR]      (default /tmp/qorvale-corpus)
# Writes OUT_DIR/corpus.pgn and removes any offset cache beside it.
set -euo pipefail
out_dir=${1:-/tmp/qorvale-corpus}
games_dir=${QORVALE_GAMES_DIR:-/work/shared/data/games}
max_games=${QORVALE_CORPUS_GAMES:-199990}
mkdir -p "$out_dir"
corpus="$out_dir/corpus.pgn"
# awk stops reading at the game limit, which ends xz with SIGPIPE: not a failure here.
set +o pipefail
# Mixed line ends on purpose: the player collections use CR LF, the book collections LF.
# misc-collections is left out: its lines of 255 bytes and more would make the first open
# re-wrap (and rename) the corpus, and the benchmark measures the plain scan.
for name in pgnmentor-players-1 pgnmentor-players-2 pgnmentor-players-3 \
            annotated-world-matches gnubook-1 gnubook-2 gnubook-3; do
    xz -dc "$games_dir/$name.pgn.xz"
done | awk -v max="$max_games" '/^\[Event / { if (++games > max) exit } { print }' >"$corpus"
set -o pipefail
rm -f "$out_dir/corpus.PGO"
echo "$corpus: $(stat -c %s "$corpus") bytes, $(grep -ac '^\[Event ' "$corpus") games"
