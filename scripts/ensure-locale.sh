#!/usr/bin/env bash
# Generates a locale the tests run under when the system lacks it (Debian's `locales`
# package ships the sources but generates none but C.UTF-8).
# Usage: scripts/ensure-locale.sh cs_CZ.UTF-8
set -euo pipefail
name=$1
# `locale -a` spells the codeset in lower case without the dash: cs_CZ.utf8.
wanted=$(echo "$name" | sed 's/UTF-8$/utf8/')
if locale -a 2>/dev/null | grep -qix -e "$name" -e "$wanted"; then
    exit 0
fi
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Generating the locale $name"
"${sudo_cmd[@]}" localedef -i "${name%%.*}" -f UTF-8 "$name"
