#!/usr/bin/env bash
# The include check fails on each include that breaks the layers, naming file
# and line, and passes the includes the layers allow.
set -euo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-includes.sh"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
add() { mkdir -p "$tree/$(dirname "$1")"; printf '%s\n' "${@:2}" >>"$tree/$1"; }

add text/Good.cpp '#include "text/Good.h"' '#include "core/CodePages.h"' '#include "platform/IFileSystem.h"' '#include <vector>'
add syntax/Good.cpp '#include "text/MemoSource.h"'
add hex/Good.cpp '#include "syntax/SyntaxParser.h"' '#include "platform/posix/PosixFileSystem.h"'
add text/ui/Good.cpp '#include "syntax/ui/StyleQt.h"' '#include "platform/qt/QtClipboard.h"'
add app/ui/Good.cpp '#include "app/CommandTable.h"' '#include "text/ui/ChildForm.h"'
"$check" "$tree" || { echo "allowed includes were refused"; exit 1; }

add text/Bad.cpp '// first line' '#include "app/CommandTable.h"'
add text/Bad2.cpp '#include "text/ui/ChildForm.h"'
add core/Bad.cpp '#include "text/MemoSource.h"'
add platform/IBad.h '#include "core/CodePages.h"'
add text/Bad3.cpp '#include "syntax/SyntaxParser.h"'
add hex/Bad.cpp '#include "tools/FileMask.h"'
add syntax/Bad.cpp '  #  include "../app/X.h"'
add core/Bad2.cpp '#include "platform/fake/FakeClipboard.h"'
if out="$("$check" "$tree")"; then
    echo "the check passed a tree with bad includes"
    exit 1
fi
expected=(text/Bad.cpp:2 text/Bad2.cpp:1 core/Bad.cpp:1 platform/IBad.h:1 text/Bad3.cpp:1 hex/Bad.cpp:1 syntax/Bad.cpp:1
    core/Bad2.cpp:1)
for where in "${expected[@]}"; do
    grep -q "$where:" <<<"$out" || { echo "not reported: $where"; echo "$out"; exit 1; }
done
[ "$(wc -l <<<"$out")" -eq "${#expected[@]}" ] || { echo "unexpected reports:"; echo "$out"; exit 1; }
echo "ok"
