#!/usr/bin/env bash
# The function-size check on a small tree of its own: it reports a body one line over the limit,
# in a source and in a header the source includes, and passes a body exactly at the limit, a long
# table of data, braces in strings and comments, files outside the checked folders and files on
# the allow-list.
set -euo pipefail
check=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/src/a" "$dir/src/b" "$dir/build"

# A function whose body spans $2 lines from its opening brace to its closing brace.
function_of() {
    echo "int $1(int x) {"
    for ((i = 0; i < $2 - 2; ++i)); do echo "    x += $i;"; done
    echo "}"
}
{
    echo '#include "long.h"'
    echo 'const char* text = "{ { {"; // } } }'
    echo 'const int table[] = {'
    for ((i = 0; i < 80; ++i)); do echo "    $i,"; done
    echo '};'
    function_of at_limit 60
    function_of over 61
} > "$dir/src/a/long.cpp"
over_line=$(grep -n '^int over' "$dir/src/a/long.cpp" | cut -d: -f1)
{
    echo '#pragma once'
    echo -n 'inline '
    function_of header_over 70
} > "$dir/src/a/long.h"
function_of allowed_over 90 > "$dir/src/a/allowed.cpp"
function_of elsewhere 90 > "$dir/src/b/outside.cpp"

{
    echo '['
    for file in a/long.cpp a/allowed.cpp b/outside.cpp; do
        echo '{'
        echo "  \"directory\": \"$dir/build\","
        echo "  \"command\": \"c++ -std=c++20 -c $dir/src/$file\","
        echo "  \"file\": \"$dir/src/$file\""
        [ "$file" = b/outside.cpp ] && echo '}' || echo '},'
    done
    echo ']'
} > "$dir/build/compile_commands.json"
echo 'a/allowed.cpp  # on another branch' > "$dir/allow.txt"

export FUNCTION_SIZE_ROOT=$dir/src FUNCTION_SIZE_FOLDERS=a FUNCTION_SIZE_ALLOW=$dir/allow.txt
status=0
output=$("$check" "$dir/build") || status=$?
expected="a/long.cpp:$over_line: function 'over' is 61 lines long (limit 60)
a/long.h:2: function 'header_over' is 70 lines long (limit 60)"
if [ "$status" != 1 ] || [ "$output" != "$expected" ]; then
    echo "expected status 1 and:"$'\n'"$expected"$'\n'"got status $status and:"$'\n'"$output"
    exit 1
fi

# Without the long function and with the header allowed too, the check passes.
printf 'a/allowed.cpp\na/long.h\n' > "$dir/allow.txt"
sed -i '/^int over/,$d' "$dir/src/a/long.cpp"
output=$("$check" "$dir/build") || { echo "expected a pass, got: $output"; exit 1; }

# A source clang cannot read fails the check rather than passing unseen.
echo 'int broken( {' >> "$dir/src/a/long.cpp"
status=0
"$check" "$dir/build" > /dev/null 2>&1 || status=$?
[ "$status" = 2 ] || { echo "expected status 2 for an unreadable source, got $status"; exit 1; }
echo "function-size check: ok"
