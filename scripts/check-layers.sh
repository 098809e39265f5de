#!/usr/bin/env bash
# The layer rule: a folder of src/ includes only itself and the folders below it, bottom first:
# interfaces, rules, engine, display, record, options, game, platform, app.
# Prints every include that reaches up and fails when there is one.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"
layers=(interfaces rules engine display record options game platform app)

status=0
for i in "${!layers[@]}"; do
    layer=${layers[$i]}
    allowed=("${layers[@]:0:$((i + 1))}")
    [ -d "$src/$layer" ] || continue
    while IFS= read -r hit; do
        file=${hit%%:*}
        target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"${hit#*:}")
        ok=0
        for a in "${allowed[@]}"; do [ "$target" = "$a" ] && ok=1; done
        # Includes of a project folder only; system and Qt headers are not ours.
        known=0
        for l in "${layers[@]}"; do [ "$target" = "$l" ] && known=1; done
        if [ $known -eq 1 ] && [ $ok -eq 0 ]; then
            echo "layer rule: $file includes $target/, above $layer/"
            status=1
        fi
    done < <(grep -rnE '^#include "[^/"]+/' "$src/$layer" --include='*.h' --include='*.cpp' \
                 --include='*.in' | sed -E 's/^([^:]+):[0-9]+:/\1:/')
done
[ $status -eq 0 ] && echo "layers: every include points down"
exit $status
