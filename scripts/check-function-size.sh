#!/usr/bin/env bash
# Reports every function of the component, the program, their libraries and their tests (and of
# the benchmarks and fuzz targets, in a build that has them) whose body runs over 60 lines, counted from the line of its opening brace to the line of its closing brace. clang's
# syntax tree finds the bodies (clang-tidy's readability-function-size), so strings, comments,
# macros and tables of data never pass for code. A lambda counts toward the function holding it.
#
# Usage: scripts/check-function-size.sh [BUILD_DIR]
#   BUILD_DIR is a built tree (its compile_commands.json and generated headers); build/dev when
#   left out. Files listed in scripts/function-size-allow.txt are not checked for now.
# FUNCTION_SIZE_ROOT, FUNCTION_SIZE_FOLDERS and FUNCTION_SIZE_ALLOW point the check elsewhere
# (its own test does).
set -euo pipefail
root=${FUNCTION_SIZE_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
build=${1:-$root/build/dev}
allow=${FUNCTION_SIZE_ALLOW:-$root/scripts/function-size-allow.txt}
folders=${FUNCTION_SIZE_FOLDERS:-"common platform interface document model ui preview component editor host tools site tests bench fuzz"}
limit=60

command -v clang-tidy > /dev/null || { echo "check-function-size: clang-tidy not found" >&2; exit 2; }
database=$build/compile_commands.json
[ -f "$database" ] || { echo "check-function-size: no $database" >&2; exit 2; }

# The allow-list: one path relative to the root a line; '#' starts a comment.
allowed=()
if [ -f "$allow" ]; then
    while IFS= read -r line; do
        line=${line%%#*}
        line=$(echo "$line" | tr -d '[:space:]')
        [ -n "$line" ] && allowed+=("$line")
    done < "$allow"
fi
is_allowed() {
    local name
    for name in "${allowed[@]}"; do
        [ "$1" = "$name" ] && return 0
    done
    return 1
}

pattern=$(echo "$folders" | tr ' ' '|')
sources=()
while IFS= read -r file; do
    relative=${file#"$root"/}
    [[ "$relative" =~ ^($pattern)/ ]] || continue
    is_allowed "$relative" || sources+=("$file")
done < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$database" | sort -u)
[ ${#sources[@]} -gt 0 ] || { echo "check-function-size: no sources to check" >&2; exit 2; }

# clang-tidy counts the lines after the opening brace's; the limit counts that line too.
config="{CheckOptions: [{key: readability-function-size.LineThreshold, value: $((limit - 1))}]}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export build config work root pattern
analyse() {
    local out
    out=$work/$(echo "$1" | tr '/' '_').log
    # Warnings are not this check's business; gcc's -Werror must not turn clang's into errors.
    if ! clang-tidy -p "$build" --quiet --checks='-*,readability-function-size' \
        --config="$config" --header-filter="^$root/($pattern)/" --extra-arg=-w \
        "$1" > "$out" 2> "$out.err"; then
        echo "check-function-size: clang could not read $1:" >&2
        grep -m 5 "error:" "$out" "$out.err" >&2 || true
        return 1
    fi
}
export -f analyse
unreadable=0
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} bash -c 'analyse "$1"' _ {} || unreadable=1

# A warning names the function; the note after it gives the lines.
found=$(cat "$work"/*.log 2> /dev/null | awk -v root="$root/" -v limit="$limit" '
    / warning: function .* exceeds recommended size/ {
        split($0, at, ":"); file = at[1]; line = at[2]
        match($0, /function .* exceeds/); name = substr($0, RSTART + 9, RLENGTH - 17)
        next
    }
    / note: [0-9]+ lines including whitespace and comments/ && file != "" {
        match($0, /note: [0-9]+ lines/); lines = substr($0, RSTART + 6, RLENGTH - 12) + 1
        sub("^" root, "", file)
        print file ":" line ": function " name " is " lines " lines long (limit " limit ")"
        file = ""
    }' | sort -u -t: -k1,1 -k2,2n)
long=0
if [ -n "$found" ]; then
    # Headers are seen through every source that includes them; the allow-list covers them too.
    while IFS= read -r entry; do
        is_allowed "${entry%%:*}" || { echo "$entry"; long=1; }
    done <<< "$found"
fi
if [ "$unreadable" = 1 ]; then
    exit 2
elif [ "$long" = 1 ]; then
    exit 1
fi
echo "check-function-size: no function over $limit lines in ${#sources[@]} files"
