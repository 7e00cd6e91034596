#!/usr/bin/env bash
# Checks for what building, testing and benchmarking need, and installs what is
# missing from Debian's packages when run as root.  Otherwise it says what to
# install.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for tool in cmake g++ make pkg-config; do
  command -v "$tool" >/dev/null 2>&1 || need+=("$([ "$tool" = g++ ] && echo g++ || echo "$tool")")
done
for pkg in libgmp-dev libmpfr-dev libmpfi-dev libgtest-dev libbenchmark-dev libboost-dev; do
  have_pkg "$pkg" || need+=("$pkg")
done

[ ${#need[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
else
  echo "install-deps: missing: ${need[*]}" >&2
  echo "install-deps: run as root:  apt-get install ${need[*]}" >&2
  exit 1
fi
