#!/bin/bash
# A UCI engine that reads its commands and never answers, not even "uciok".
while read -r line; do :; done
