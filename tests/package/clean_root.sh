#!/usr/bin/env bash
# Installs the package into a clean Debian 12 root and there, as an ordinary
# user, runs varnex-admin and starts the program headless until its main
# window is shown. Exits 77 (skipped, reason printed) when no such root can
# be made: no root rights, no debootstrap, no mirror.
#   clean_root.sh BUILD_DIR
# The root with the package's dependencies is kept under
# $VARNEX_CLEAN_ROOT_CACHE (default /var/cache/varnex-test), so a repeated run
# takes seconds; each run works in a fresh copy of it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/root.sh"

BUILD=$(cd "$1" && pwd)
require_debootstrap

# The package of this build, made from the programs already built.
step "package"
work=$(mktemp -d /var/tmp/varnex-clean-root.XXXXXX)
root="$work/root"
cleanup() {
  for mounted in "$root/dev/pts" "$root/dev" "$root/proc"; do
    mountpoint -q "$mounted" 2>/dev/null && umount -l "$mounted"
  done
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
(cd "$work" && cpack --config "$BUILD/CPackConfig.cmake" -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/varnex_*_amd64.deb)
depends=$(dpkg-deb -f "$deb" Depends)

# A root with the package's dependencies; made again when they change.
dependencies() {
  local base=$1
  cp "$deb" "$base/tmp/"
  # The dependencies as apt resolves them for the package, without it.
  mount -t proc proc "$base/proc"
  chroot "$base" sh -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
      --no-install-recommends /tmp/$(basename "$deb") && apt-get remove -y -qq varnex && apt-get clean"
  local status=$?
  umount -l "$base/proc"
  rm -f "$base/tmp/$(basename "$deb")"
  return "$status"
}
cached_root "$(printf '%s\n%s\n' "$SUITE" "$depends" | sha256sum | cut -c1-16)" dependencies
cached=$CACHED

step "fresh root from $(basename "$cached")"
mkdir "$root"
tar -C "$root" -xf "$cached"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
cp "$deb" "$root/tmp/"
step "dpkg -i $(basename "$deb")"
chroot "$root" dpkg -i "/tmp/$(basename "$deb")"
chroot "$root" useradd --create-home --shell /bin/sh clerk

# Everything below runs as the user, with the root's own /tmp for the
# engine's locks, so nothing is shared with the machine's Firebird users.
as_clerk() {
  chroot --userspec=clerk:clerk "$root" env -i HOME=/home/clerk USER=clerk PATH=/usr/bin:/bin \
    LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/clerk-runtime "$@"
}
chroot "$root" install -d -o clerk -g clerk -m 700 /tmp/clerk-runtime

failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failed=1
  fi
}

step "menu entry"
entry="$root/usr/share/applications/varnex.desktop"
check "the menu entry starts an installed program" \
  test -x "$root/usr/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
icon=$(sed -n 's/^Icon=//p' "$entry")
check "the menu entry's icon is in the hicolor theme" \
  test -f "$root/usr/share/icons/hicolor/48x48/apps/$icon.png" -a -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg"

step "varnex-admin --version"
version=$(as_clerk varnex-admin --version)
echo "$version"
check "varnex-admin --version names the package's version" \
  test "$version" = "varnex-admin $(dpkg-deb -f "$deb" Version)"

step "varnex-admin create-db in a fresh data folder"
as_clerk mkdir -p /home/clerk/shop
check "varnex-admin create-db" as_clerk varnex-admin create-db /home/clerk/shop/Varnex.fdb
check "the database is there" test -s "$root/home/clerk/shop/Varnex.fdb"
check "varnex-admin settings set in the user's folder" \
  as_clerk varnex-admin --home /home/clerk/shop settings set 'clientinfo\company' 'Торем ООД'

step "varnex --check-start (first start)"
output=$(as_clerk timeout 120 varnex --check-start 2>&1) || true
echo "$output"
check "the main window was shown" grep -q 'Главният прозорец е показан.' <<<"$output"
data="$root/home/clerk/.local/share/varnex"
check "the data folder was made with the database" test -s "$data/Varnex.fdb"
check "the data folder marks the embedded engine" test -f "$data/firebird.conf"
check "the settings were saved in the data folder" test -f "$data/Varnex.xdb"
check "nothing was written beside the program" test ! -e "$root/usr/bin/Varnex.xdb" -a ! -e "$root/usr/bin/varnex.xdb"

step "the report module"
module=$(cd "$root" && ls usr/lib/*/varnex/libvarnex-reports.so 2>/dev/null | head -n 1 || true)
check "the report module is where the program looks for it" test -n "$module"
check "every library the report module needs is installed" \
  sh -c "chroot '$root' ldd '/$module' | grep -q 'not found' && exit 1 || exit 0"

step "dpkg -r varnex"
chroot "$root" dpkg -r varnex >/dev/null
check "the package is gone" test ! -e "$root/usr/bin/varnex"
check "the user's data folder stays" test -s "$data/Varnex.fdb"

step "done"
exit "$failed"
