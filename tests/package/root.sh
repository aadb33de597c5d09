# Shared by the tests that work in a clean Debian 12 root: skipping with the
# reason, progress lines, and roots made once and kept under
# $VARNEX_CLEAN_ROOT_CACHE (default /var/cache/varnex-test).
CACHE=${VARNEX_CLEAN_ROOT_CACHE:-/var/cache/varnex-test}
MIRROR=${VARNEX_DEBIAN_MIRROR:-http://deb.debian.org/debian}
SUITE=bookworm

skip() {
  echo "SKIPPED: $*"
  exit 77
}
step() {
  printf '[%4ss] %s\n' "$SECONDS" "$*"
}

require_debootstrap() {
  [[ $(id -u) == 0 ]] || skip "making a root with debootstrap and entering it needs root rights"
  if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null 2>&1 \
      || skip "debootstrap is not installed and cannot be installed"
  fi
}

# cached_root KEY PREPARE: sets CACHED to the tar of a minimal root that
# PREPARE BASE_DIR finished; made in $work only when no root has that key.
cached_root() {
  local key=$1 prepare=$2
  CACHED="$CACHE/$SUITE-$key.tar"
  [[ -f "$CACHED" ]] && return
  step "debootstrap $SUITE (minbase) from $MIRROR"
  mkdir -p "$CACHE"
  local base="$work/base"
  debootstrap --variant=minbase "$SUITE" "$base" "$MIRROR" >"$work/debootstrap.log" 2>&1 \
    || { tail -n 5 "$work/debootstrap.log"; skip "debootstrap could not make a Debian root (no mirror?)"; }
  "$prepare" "$base" >"$work/prepare.log" 2>&1 || { tail -n 20 "$work/prepare.log"; exit 1; }
  tar -C "$base" -cf "$CACHED.part" . && mv "$CACHED.part" "$CACHED"
  rm -rf --one-file-system "$base"
}
