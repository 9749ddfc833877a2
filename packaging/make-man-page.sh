#!/usr/bin/env bash
# Writes the gzipped man page of hivora-cli from its --help:
#   make-man-page.sh HELP2MAN PROGRAM VERSION INCLUDE-FILE OUTPUT.1.gz
set -euo pipefail
help2man=$1 program=$2 version=$3 include=$4 output=$5

# help2man fills lines of an indented block into one paragraph; the list of commands and
# their arguments must keep one command a line.
"$help2man" --no-info --version-string="$version" --include="$include" \
    --name="view Windows registry hive files from the command line" "$program" |
    sed '/^\.SS "Commands and their arguments:"/,/^\.PP/{s/^\.IP$/.nf/;s/^\.PP$/.fi\n.PP/}' |
    gzip -9n >"$output.tmp"
mv "$output.tmp" "$output"
