#!/bin/sh
# Runs every bench/compare/*.sh script (except this runner and lib.sh) one
# after another with bash, passing on this script's arguments (the build
# folder, for the scripts that take one). Each script prints its own table.
# Exit code: the number of scripts that failed (0 when all ran).
here=$(cd "$(dirname "$0")" && pwd)
failed=0
for script in "$here"/*.sh; do
    case $(basename "$script") in
    lib.sh | run-all.sh) continue ;;
    esac
    echo "== $(basename "$script")"
    if ! bash "$script" "$@"; then
        echo "$(basename "$script"): failed" >&2
        failed=$((failed + 1))
    fi
    echo
done
exit "$failed"
