#!/usr/bin/env bash
# Checks for what one task needs, and installs what is missing from Debian's
# packages when run as root; otherwise it says what to install.
#   scripts/install-deps.sh test       test oracles: GoogleTest, GMP, MPFR, python3
#   scripts/install-deps.sh bench      benchmark peers: Google Benchmark, GMP, MPFR, MPFI, Boost, libfixmath, FLINT
#   scripts/install-deps.sh accuracy   the accuracy table's oracle: MPFR (and GMP)
#   scripts/install-deps.sh docs       doxygen
#   scripts/install-deps.sh fuzz       clang with its libFuzzer runtime, GMP (make fuzz only)
#   scripts/install-deps.sh            test and bench
# Building, installing and the demo need none of them: a C/C++ compiler and
# CMake are enough.
set -euo pipefail

packages=()
for task in "${@:-test bench}"; do
  for t in $task; do
    case "$t" in
      test) packages+=(libgtest-dev libgmp-dev libmpfr-dev python3) ;;
      bench) packages+=(libbenchmark-dev libgmp-dev libmpfr-dev libmpfi-dev libboost-dev libfixmath-dev libflint-dev) ;;
      accuracy) packages+=(libgmp-dev libmpfr-dev) ;;
      docs) packages+=(doxygen) ;;
      # libFuzzer's runtime ships with clang's compiler-rt: libclang-rt-dev
      # is the one of Debian's default clang.
      fuzz) packages+=(clang libclang-rt-dev libgmp-dev) ;;
      *) echo "install-deps: unknown task '$t' (test, bench, accuracy, docs, fuzz)" >&2; exit 2 ;;
    esac
  done
done

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for tool in cmake g++ make pkg-config; do
  command -v "$tool" >/dev/null 2>&1 || need+=("$tool")
done
for pkg in $(printf '%s\n' "${packages[@]}" | sort -u); do
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
