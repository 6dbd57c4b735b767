#!/bin/sh
# Looks at what the Windows layer wrote with Wine's own reg.exe, independent of the
# code under test. Arguments: the wine launcher, the sample writer program.
set -u

wine=$1
writer=$2
failures=0
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT

fail() {
    printf "FAILED: %s\n" "$*"
    failures=$((failures + 1))
}

# reg query prints "    <name>    <type>    <data>" lines, in the OEM code page (852
# for the Czech locale the tests run in) with CR LF line ends.
# A query that prints nothing at all (not even the key's name) did not run: reg.exe
# once came back empty right after a new prefix had booted. It is asked once more, and
# what it said goes with a failure.
query() {
    for _ in 1 2; do
        answer=$("$wine" reg query "$1" </dev/null 2>"$errors" | tr -d '\r' | iconv -f CP852 -t UTF-8)
        [ -n "$answer" ] && break
    done
    printf '%s\n' "$answer"
}

expect_value() {
    key=$1 name=$2 expected=$3
    actual=$(query "$key" | sed -n "s/^    $name    //p")
    [ "$actual" = "$expected" ] || fail "$key\\$name is [$actual], expected [$expected]$(cat "$errors")"
}

key_exists() {
    "$wine" reg query "$1" </dev/null >/dev/null 2>&1
}

run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
desktop='HKCU\Control Panel\Desktop'

"$wine" "$writer" write </dev/null || fail "the sample writer could not write"

expect_value 'HKCU\Software\tapetor\options' interval 'REG_SZ    15'
expect_value 'HKCU\Software\tapetor\options' kolekce 'REG_SZ    C:\Kolekce\Žluťoučký kůň.tkl'
expect_value 'HKCU\Software\tapetor\uss3' major 'REG_SZ    3'
expect_value 'HKCU\Software\tapetorX\options' interval 'REG_SZ    30'
expect_value "$run" tapetor 'REG_SZ    "C:\Program Files\tapetor\tapetor.exe" /startos'
expect_value "$desktop" TileWallpaper 'REG_SZ    0'
expect_value "$desktop" WallpaperStyle 'REG_SZ    2'
expect_value "$desktop" Wallpaper 'REG_SZ    C:\Program Files\tapetor\tapetor.bmp'

"$wine" "$writer" remove </dev/null || fail "the sample writer could not remove"

key_exists 'HKCU\Software\tapetor' && fail "HKCU\\Software\\tapetor still exists"
expect_value 'HKCU\Software\tapetorX\options' interval 'REG_SZ    30'
query "$run" | grep -q '^    tapetor    ' && fail "the Run value is still there"
key_exists "$run" || fail "the Run key itself was removed"

"$wine" reg delete 'HKCU\Software\tapetorX' /f </dev/null >/dev/null 2>&1

[ "$failures" -eq 0 ] && printf "%s\n" "registry seen from outside: all checks passed"
[ "$failures" -eq 0 ]
