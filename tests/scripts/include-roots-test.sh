#!/usr/bin/env bash
# A wrong include fails to compile, not only the include check: each case
# preprocesses one #include with exactly the include path a library compiles
# with, and the header must be found (allowed) or not found (forbidden).
#   include-roots-test.sh <c++ compiler> "<found|missing>|<header>|<library>|<include dirs, :-separated>"...
set -euo pipefail
cxx="$1"
shift
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for case in "$@"; do
    IFS='|' read -r expect header library dirs <<<"$case"
    flags=()
    IFS=':' read -r -a list <<<"$dirs"
    for dir in "${list[@]}"; do
        # The compiler's own folders stay in their usual order.
        [ -n "$dir" ] && [ "$dir" != /usr/include ] && flags+=("-I$dir")
    done
    case "$header" in
    \<*) printf '#include %s\n' "$header" >"$work/probe.cpp" ;;
    *) printf '#include "%s"\n' "$header" >"$work/probe.cpp" ;;
    esac
    if "$cxx" -std=c++20 -E "${flags[@]}" "$work/probe.cpp" -o /dev/null 2>"$work/err"; then
        got=found
    elif grep -q "probe.cpp:1:.*No such file or directory\|probe.cpp:1:.*file not found" "$work/err"; then
        # The probe's own include, not one inside the header it found.
        got=missing
    else
        got="an error other than a missing header: $(head -3 "$work/err")"
    fi
    if [ "$got" != "$expect" ]; then
        echo "$library including $header: expected $expect, got $got"
        status=1
    fi
done
[ $status -eq 0 ] && echo "ok: $# cases"
exit $status
