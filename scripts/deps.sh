#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing, with one
# package-list update and one install for them all. Packages after --optional may
# fail to install: then the others are installed alone and those named as missing.
#   scripts/deps.sh PACKAGE... [--optional PACKAGE...]
# Run by the other scripts; quiet when everything is present (scripts/test.sh names
# every package of the suite at once, so the scripts it runs find theirs installed).
set -euo pipefail
required=() optional=()
list=required
for p in "$@"; do
    if [ "$p" = --optional ]; then
        list=optional
        continue
    fi
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" && continue
    if [ $list = required ]; then required+=("$p"); else optional+=("$p"); fi
done
all=("${required[@]}" "${optional[@]}")
[ ${#all[@]} -eq 0 ] && exit 0
echo "Installing: ${all[*]}"
# Other package tools may be at work on this machine: wait for their lock.
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900)
[ "$(id -u)" -eq 0 ] || apt=(sudo "${apt[@]}")
"${apt[@]}" update -qq
install() { "${apt[@]}" install -y -qq --no-install-recommends "$@"; }
install "${all[@]}" && exit 0
[ ${#optional[@]} -gt 0 ] || exit 1
[ ${#required[@]} -eq 0 ] || install "${required[@]}"
echo "deps.sh: not installed (optional): ${optional[*]}"
