#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs, then runs the
# installed launcher against a stand-in program that reports its working directory.
# Usage: install_test.sh <build folder>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
check() { # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }

id=io.github.quillon.Quillon
check "launcher installed" test -x "$prefix/bin/quillon"
check "program installed" test -x "$prefix/libexec/quillon/quillon"
check "GLP.icc installed" test -s "$prefix/share/quillon/GLP.icc"
check "desktop entry valid" desktop-file-validate "$prefix/share/applications/$id.desktop"
check "metainfo valid" appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
check "metainfo names a screenshot" grep -q '<image>http' "$prefix/share/metainfo/$id.metainfo.xml"
for size in 48 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    check "icon ${size}px" test "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}"
done

# The real program needs a display; a stand-in shows where and how it was started.
fake=$prefix/libexec/quillon/quillon
printf '#!/bin/sh\necho "cwd=$(pwd)"\necho "args=$*"\n' >"$fake"
chmod +x "$fake"
launcher=$prefix/bin/quillon

home=$work/home
mkdir -p "$home"
# From / with only HOME set: ~/.local/share/quillon is made and holds GLP.icc.
out=$(cd / && env -u XDG_DATA_HOME HOME="$home" "$launcher" one two)
check "default folder is the working directory" test "$out" = "cwd=$home/.local/share/quillon
args=one two"
check "GLP.icc copied" cmp -s "$prefix/share/quillon/GLP.icc" "$home/.local/share/quillon/GLP.icc"
check "GLP.icc readable by all" test "$(stat -c %a "$home/.local/share/quillon/GLP.icc")" = 644

# XDG_DATA_HOME wins, also through a symbolic link to the launcher (as in /usr/local/bin).
data="$work/xdg data"
ln -s "$launcher" "$work/link"
out=$(cd "$work" && HOME="$home" XDG_DATA_HOME="$data" ./link)
check "XDG_DATA_HOME honoured via a link" test "$out" = "cwd=$data/quillon
args="
# A relative XDG_DATA_HOME is ignored.
out=$(cd "$work" && HOME="$home" XDG_DATA_HOME=relative "$launcher" | head -1)
check "relative XDG_DATA_HOME ignored" test "$out" = "cwd=$home/.local/share/quillon"

# A user's copy newer than the shipped one is kept; an older one is replaced.
user_glp=$data/quillon/GLP.icc
echo mine >"$user_glp"
touch -d '2100-01-01' "$user_glp"
HOME="$home" XDG_DATA_HOME="$data" "$launcher" >/dev/null
check "newer copy kept" grep -q mine "$user_glp"
touch -d '2000-01-01' "$user_glp"
HOME="$home" XDG_DATA_HOME="$data" "$launcher" >/dev/null
check "older copy replaced" cmp -s "$prefix/share/quillon/GLP.icc" "$user_glp"
check "no temporary left" test -z "$(find "$data/quillon" -name '.GLP.icc.*')"

# A data folder that cannot be created: a message on stderr, non-zero exit, program not run.
# (Root ignores permissions, so the parent is a plain file instead of a read-only folder.)
echo x >"$work/file"
set +e
out=$(HOME="$home" XDG_DATA_HOME="$work/file/sub" "$launcher" 2>"$work/err")
rc=$?
set -e
check "uncreatable folder fails" test "$rc" -ne 0
check "uncreatable folder says so" grep -q "cannot create the data folder" "$work/err"
check "program not started" test -z "$out"
set +e
out=$(env -u HOME -u XDG_DATA_HOME "$launcher" 2>"$work/err")
rc=$?
set -e
check "no HOME fails" test "$rc" -ne 0 -a -s "$work/err" -a -z "$out"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
