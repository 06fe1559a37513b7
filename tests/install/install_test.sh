#!/usr/bin/env bash
# install_test.sh BUILD_DIR SOURCE_DIR
# Installs the build into temporary prefixes with a temporary home and classes root, drives the
# installed commands, validates the desktop files and uninstalls again.
set -uo pipefail

build=$1
source=$2
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    "$@" || fail "$what"
}

for f in program/QuillaryFoldline component/libTesselFoldline.so bin/tessel-regsvr bin/tessel-call; do
    [ -e "$build/$f" ] || { echo "FAIL: $build/$f is not built" >&2; exit 1; }
done
if ! command -v desktop-file-validate >/dev/null; then
    echo "SKIP: desktop-file-validate is missing (scripts/setup.sh installs desktop-file-utils)"
    exit 77
fi

tmp=$(mktemp -d)
manifest=$build/install_manifest.txt
saved=""
if [ -e "$manifest" ]; then
    saved=$tmp/saved_manifest.txt
    cp -p "$manifest" "$saved"
fi
restore_manifest() {
    if [ -n "$saved" ]; then cp -p "$saved" "$manifest"; else rm -f "$manifest"; fi
}
trap 'restore_manifest; rm -rf "$tmp"' EXIT

export HOME=$tmp/home
export XDG_DATA_HOME=$HOME/.local/share
export XDG_CONFIG_HOME=$tmp/config
export TESSEL_CLASSES_ROOT=$tmp/classes.reg
export QT_QPA_PLATFORM=offscreen
unset DESTDIR
mkdir -p "$HOME"

install_into() { # install_into PREFIX LOG; keeps a copy of the manifest beside the log
    cmake --install "$build" --prefix "$1" >"$2" 2>&1
    local rc=$?
    cp "$manifest" "$2.manifest" 2>/dev/null
    return $rc
}
registered() { # registered LIBRARY: the classes root names LIBRARY as a server
    [ -e "$TESSEL_CLASSES_ROOT" ] && grep -qF "@=\"$(realpath "$1")\"" "$TESSEL_CLASSES_ROOT"
}

# ---- a: install, use, uninstall with the target ------------------------------------------------
p=$tmp/prefix
if ! install_into "$p" "$tmp/a.log"; then
    cat "$tmp/a.log" >&2
    echo "FAIL: cmake --install failed" >&2
    exit 1
fi
prog=$p/lib/quillary-foldline
comp=$p/lib/tessel-foldline
for f in "$prog/QuillaryFoldline" "$p/bin/tessel-call" "$p/bin/tessel-regsvr"; do
    check "$f is an executable" test -x "$f"
done
check "help pages beside the program" test -f "$prog/help/index.html"
for f in "$comp/libTesselFoldline.so" "$comp/Sample/sample.htm" "$comp/Sample/furlin.js" \
    "$comp/furlin.js" "$comp/furlin.css" \
    "$p/share/applications/quillary-foldline.desktop" \
    "$p/share/icons/hicolor/scalable/apps/quillary-foldline.svg" \
    "$p/share/mime/packages/quillary-foldline.xml"; do
    check "$f installed" test -f "$f"
done
# The shipped templates name the installed component folder in their support-file lists.
src=$(dirname "$0")/../../data/templates
for t in "$src"/*.tsl.in; do
    name=$(basename "$t" .in)
    check "template $name installed for the installed folder" \
        cmp -s <(sed "s#@COMPONENT_DIR@#$comp#" "$t") "$comp/$name"
done
check "bin/quillary-foldline leads to the program" \
    test "$(realpath "$p/bin/quillary-foldline")" = "$(realpath "$prog/QuillaryFoldline")"

# Nothing installed may load from the build tree or miss a library.
for f in "$prog/QuillaryFoldline" "$comp/libTesselFoldline.so" "$p/bin/tessel-call" \
    "$p/bin/tessel-regsvr"; do
    deps=$(ldd "$f" 2>&1)
    if grep -q "not found" <<<"$deps"; then fail "$f misses a library: $deps"; fi
    if grep -qF "$build" <<<"$deps"; then fail "$f loads from the build tree: $deps"; fi
    if readelf -d "$f" | grep -E "RPATH|RUNPATH" | grep -qF "$build"; then
        fail "$f keeps the build run path"
    fi
done

check "the install registered the installed component" registered "$comp/libTesselFoldline.so"
answers=$(printf '%s\n' '["GetResourceNumber"]' '["GetHTMLBody", 0, 1]' '["ProgID"]' |
    "$p/bin/tessel-call")
check "installed tessel-call answers every call (got: $answers)" test $? -eq 0
mapfile -t lines <<<"$answers"
check "GetResourceNumber of a new widget is 1 (got ${lines[0]:-nothing})" test "${lines[0]:-}" = 1
case ${lines[1]:-} in
'"<p align=\"Center\">'*) ;;
*) fail "GetHTMLBody kind 1 starts with the centred paragraph (got ${lines[1]:-nothing})" ;;
esac

# A document written through the installed component reads back through it.
doc=$tmp/site/menu.tsl
mkdir -p "$tmp/site"
out=$(printf '%s\n' '["Title=", "Site"]' "[\"WriteConfigFile\", \"$doc\"]" |
    "$p/bin/tessel-call")
check "WriteConfigFile through the installed component (got: $out)" test "$(tail -n 1 <<<"$out")" = true
out=$(printf '%s\n' "[\"ReadConfigFile\", \"$doc\"]" '["Title"]' | "$p/bin/tessel-call")
check "ReadConfigFile and Title (got: $out)" test "$out" = $'true\n"Site"'

for cmd in "$p/bin/quillary-foldline" "$p/bin/tessel-call" "$p/bin/tessel-regsvr"; do
    out=$("$cmd" --version) || fail "$cmd --version exits with failure"
    grep -qE '[0-9]+\.[0-9]+' <<<"$out" || fail "$cmd --version shows no version: $out"
    out=$("$cmd" --help) || fail "$cmd --help exits with failure"
    grep -q '^usage:' <<<"$out" || fail "$cmd --help shows no usage: $out"
done
help=$("$p/bin/tessel-call" --help)
for word in GetHTMLBody GetResourceNumber ReadConfigFile '"error"'; do
    grep -qF -- "$word" <<<"$help" || fail "tessel-call --help does not mention $word"
done

check "desktop entry validates" desktop-file-validate "$p/share/applications/quillary-foldline.desktop"
grep -q '^Exec=quillary-foldline %f$' "$p/share/applications/quillary-foldline.desktop" ||
    fail "desktop entry starts the command on bin/ with the file"
grep -q '^MimeType=application/x-tessel-widget;$' "$p/share/applications/quillary-foldline.desktop" ||
    fail "desktop entry opens widget documents"
xml=$p/share/mime/packages/quillary-foldline.xml
check "MIME definition is well-formed" xmllint --noout "$xml"
check "MIME definition names *.tsl" \
    test "$(xmllint --xpath 'string(//*[local-name()="glob"]/@pattern)' "$xml")" = '*.tsl'
check "MIME definition matches the first line" \
    test "$(xmllint --xpath 'string(//*[local-name()="match"]/@value)' "$xml")" = \
    '========== Description Part Begin =========='
check "MIME magic looks at the start of the file" \
    test "$(xmllint --xpath 'string(//*[local-name()="match"]/@offset)' "$xml")" = 0
if command -v update-mime-database >/dev/null; then
    check "MIME database of the prefix knows *.tsl" \
        grep -qx 'application/x-tessel-widget' <(sed -n 's/^[0-9]*:\([^:]*\):\*\.tsl$/\1/p' "$p/share/mime/globs2")
fi

(cd "$tmp" && cmake --build "$build" --target uninstall >"$tmp/a-uninstall.log" 2>&1) ||
    { cat "$tmp/a-uninstall.log" >&2; fail "the uninstall target failed"; }
if registered "$comp/libTesselFoldline.so" 2>/dev/null ||
    grep -qi 'TesselServer.Foldline' "$TESSEL_CLASSES_ROOT"; then
    fail "uninstall left the registration"
fi
while read -r f; do
    [ -e "$f" ] || [ -L "$f" ] && fail "uninstall left $f"
done <"$tmp/a.log.manifest"
check "uninstall removed the program folder" test ! -e "$prog"
check "uninstall removed the component folder" test ! -e "$comp"
check "the install wrote a manifest" test -s "$tmp/a.log.manifest"

# ---- b: uninstall keeps a registration that names another copy ---------------------------------
p=$tmp/prefix-b
install_into "$p" "$tmp/b.log" || { cat "$tmp/b.log" >&2; fail "second install failed"; }
"$build/bin/tessel-regsvr" "$build/component/libTesselFoldline.so" >/dev/null ||
    fail "registering the build tree's component"
cmake -DMANIFEST="$tmp/b.log.manifest" -P "$source/cmake/Uninstall.cmake" >"$tmp/b-uninstall.log" 2>&1 ||
    fail "uninstall script failed"
check "uninstall left the build tree's registration alone" \
    registered "$build/component/libTesselFoldline.so"
check "uninstall still removed the files" test ! -e "$p/bin/tessel-call"

# ---- c: a registration that cannot be made fails the install ----------------------------------
p=$tmp/prefix-c
TESSEL_CLASSES_ROOT=/dev/null/classes.reg install_into "$p" "$tmp/c.log"
check "install reports the failed registration" test $? -ne 0
check "the failed registration is named" grep -q 'Registering .*failed.*cannot use the classes root' \
    <(tr '\n' ' ' <"$tmp/c.log")
check "a failed install still leaves a manifest for uninstall" \
    grep -q '/bin/tessel-regsvr$' "$tmp/c.log.manifest"

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "install tree checks passed"
