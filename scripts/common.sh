# Shared by scripts/run and scripts/test: Debian packages and the build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VARNEX_BUILD_DIR:-$ROOT/build}"

BUILD_PACKAGES=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev libgtest-dev libzint-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  fonts-dejavu-core fonts-liberation2
  qt6-translations-l10n
  poppler-utils zbar-tools
  dpkg-dev file
)

# Installs whichever of the named Debian packages are missing; quiet and
# quick when all are there.
ensure_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$package")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

build_all() {
  ensure_packages "${BUILD_PACKAGES[@]}"
  if [[ ! -f "$BUILD/CMakeCache.txt" ]]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  cmake --build "$BUILD" -j2
}
