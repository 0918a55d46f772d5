#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are missing.
# Usage: scripts/install-deps.sh [build|test|all]
set -euo pipefail
what=${1:-all}
build_pkgs=(cmake g++ make pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-tools-dev
  qt6-l10n-tools qt6-tools-dev-tools libhidapi-dev libudev-dev libgl-dev)
test_pkgs=(libgtest-dev libgmock-dev clang libclang-rt-14-dev libbenchmark-dev xvfb xauth)
case "$what" in
  build) pkgs=("${build_pkgs[@]}") ;;
  test|all) pkgs=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
  *) echo "usage: $0 [build|test|all]" >&2; exit 2 ;;
esac
if [ -f "$(dirname "$0")/extra-test-packages" ] && [ "$what" != build ]; then
  mapfile -t extra < <(grep -v '^#' "$(dirname "$0")/extra-test-packages" | grep -v '^$')
  pkgs+=("${extra[@]}")
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
