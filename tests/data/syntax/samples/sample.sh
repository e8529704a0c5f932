#!/bin/bash
# sample.sh - backs up a folder into a dated archive.
set -euo pipefail

readonly SOURCE="${1:-$HOME/documents}"
readonly TARGET="/var/backups"
KEEP=7
stamp=$(date +%Y-%m-%d)

usage() {
    echo "usage: $0 [FOLDER]" >&2
    echo 'Single quotes keep $HOME literal'
    exit 1
}

if [[ $# -gt 1 ]]; then
    usage
fi

if [ ! -d "$SOURCE" ]; then
    echo "error: \"$SOURCE\" is not a folder" >&2
    exit 2
fi

archive="$TARGET/backup-$stamp.tar.gz"
tar -czf "$archive" -C "$(dirname "$SOURCE")" "$(basename "$SOURCE")"

# Remove all but the newest $KEEP archives.
count=0
for file in $(ls -1t "$TARGET"/backup-*.tar.gz); do
    count=$((count + 1))
    if (( count > KEEP )); then
        rm -f -- "$file"
    fi
done

files=(one two three)
echo "archived ${#files[@]} names, ${SOURCE##*/} done"

cat <<EOF
Report for $stamp:
  archive: $archive
  it's kept for $KEEP days
EOF

message='a single-quoted string
that spans two lines'
case "$stamp" in
    *-01) echo "first day of the month";;
    *) echo "$message";;
esac
