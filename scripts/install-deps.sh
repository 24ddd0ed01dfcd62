#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need (clang and its
# sanitizer and fuzzer runtimes for `make test-sanitize` and `make fuzz`); does nothing when
# they are already present.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite
          qt6-tools-dev qt6-tools-dev-tools libgl-dev fonts-dejavu-core fonts-noto-core
          fonts-noto-cjk clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
