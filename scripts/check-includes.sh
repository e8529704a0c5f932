#!/usr/bin/env bash
# Fails, naming file and line, when a source under src/ includes a project
# header from a layer it may not use. Layers point down only:
#   app/ui and every other ui/  ->  engines  ->  core  ->  platform interfaces
# An engine never includes app/ or a ui/ folder; engines use each other only
# where one is built on the other (syntax on text; hex, compare and tools on
# text and syntax). Usage: check-includes.sh [source root, default src]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"
cd "$root"
label="$(basename "$root")"

# The layer of a path below src/: app, app/ui, an engine name, <engine>/ui,
# core, platform (interfaces), platform/posix, platform/qt or platform/fake.
layer_of() {
    local rest
    case "$1" in
    */ui/*) layer="${1%%/ui/*}/ui" ;;
    platform/*/*)
        rest="${1#platform/}"
        layer="platform/${rest%%/*}"
        ;;
    *) layer="${1%%/*}" ;;
    esac
}

# The layers a layer may include, besides itself ("ui": any ui/ but app's).
allowed_for() {
    case "$1" in
    app/ui) allowed="*" ;;
    */ui) allowed="ui text syntax hex compare tools core platform platform/posix platform/qt" ;;
    app) allowed="text syntax hex compare tools core platform platform/posix" ;;
    hex | compare | tools) allowed="text syntax core platform platform/posix" ;;
    syntax) allowed="text core platform platform/posix" ;;
    text) allowed="core platform platform/posix" ;;
    core) allowed="platform platform/posix" ;;
    platform/qt) allowed="platform platform/posix" ;;
    platform/posix | platform/fake) allowed="platform" ;;
    *) allowed="" ;;
    esac
}

may_include() {
    local from="$1" to="$2" a
    [ "$from" = "$to" ] && return 0
    allowed_for "$from"
    [ "$allowed" = "*" ] && return 0
    for a in $allowed; do
        if [ "$a" = "$to" ] || { [ "$a" = "ui" ] && [ "${to%/ui}" != "$to" ] && [ "$to" != "app/ui" ]; }; then
            return 0
        fi
    done
    return 1
}

status=0
while IFS=: read -r file line text; do
    header="${text#*\"}"
    header="${header%%\"*}"
    case "$header" in
    */*) ;;
    *) header="${file%/*}/$header" ;; # beside the including file
    esac
    case "$header" in
    *../*)
        echo "$label/$file:$line: include \"$header\" climbs out of its folder; name it from src/"
        status=1
        continue
        ;;
    esac
    layer_of "$file"
    from="$layer"
    layer_of "$header"
    to="$layer"
    if ! may_include "$from" "$to"; then
        echo "$label/$file:$line: $from may not include \"$header\" ($to)"
        status=1
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' . | sed 's|^\./||')
exit $status
