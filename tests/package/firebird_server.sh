#!/usr/bin/env bash
# Runs scripts/firebird-server in clean Debian 12 roots set up as stock
# machines leave them, and checks that SYSDBA then logs in on 127.0.0.1 with
# the tests' password and can make a database there. Each root has its own
# network and process namespaces, so the machine's own server is never seen.
# Exits 77 (skipped, reason printed) when no such root can be made.
#   firebird_server.sh SOURCE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/root.sh"

SOURCE=$(cd "$1" && pwd)
SERVER_PACKAGES="firebird3.0-server firebird3.0-utils"

in_root() {
  chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 HOME=/root "$@"
}

# Inside the namespaces: the machine as the case leaves it, then the script.
if [[ ${2:-} == --inside ]]; then
  root=$3
  ip link set lo up
  mount -t proc proc "$root/proc"
  # Debian's installer maps localhost to ::1 as well.
  printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost ip6-localhost ip6-loopback\n' >"$root/etc/hosts"
  install_server() {
    in_root sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-download --no-install-recommends \
      $SERVER_PACKAGES >/dev/null 2>&1"
  }
  case $4 in
    embedded-as-root-first)
      in_root sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-download firebird3.0-utils >/dev/null 2>&1"
      echo "create database '/root/first.fdb'; exit;" | in_root isql-fb -q
      install_server ;;
    started-by-package)
      install_server
      in_root /etc/init.d/firebird3.0 start ;;
  esac
  in_root /opt/varnex/scripts/firebird-server || exit 1
  in_root fbsvcmgr 127.0.0.1:service_mgr -user SYSDBA -password pendrolix info_server_version || exit 1
  in_root install -d -o firebird -g firebird /srv/varnex
  echo "create database '127.0.0.1:/srv/varnex/shop.fdb' user 'SYSDBA' password 'pendrolix'; exit;" \
    | in_root isql-fb -q || exit 1
  again=$(in_root /opt/varnex/scripts/firebird-server 2>&1) || exit 1
  [[ -z "$again" ]] || { echo "a second run changed things: $again"; exit 1; }
  in_root /etc/init.d/firebird3.0 stop >/dev/null
  exit 0
fi

require_debootstrap
command -v unshare >/dev/null && command -v ip >/dev/null || skip "unshare and ip are needed for a private network"
work=$(mktemp -d /var/tmp/varnex-server-root.XXXXXX)
root="$work/root"
cleanup() {
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT

# A minimal root with the server's packages downloaded, not installed: each
# case installs them itself, offline, inside its private network.
download_server() {
  chroot "$1" sh -c "apt-get update -qq && apt-get install -y -qq --download-only --no-install-recommends $SERVER_PACKAGES"
}
cached_root "$(printf '%s\nserver: %s\n' "$SUITE" "$SERVER_PACKAGES" | sha256sum | cut -c1-16)" download_server

failed=0
for case in embedded-as-root-first started-by-package; do
  step "$case"
  rm -rf --one-file-system "$root" && mkdir "$root"
  tar -C "$root" -xf "$CACHED"
  mkdir -p "$root/opt/varnex/scripts"
  cp "$SOURCE/scripts/firebird-server" "$SOURCE/scripts/common.sh" "$root/opt/varnex/scripts/"
  if unshare --net --pid --mount --fork "$0" "$SOURCE" --inside "$root" "$case"; then
    echo "ok: $case"
  else
    echo "FAILED: $case"
    tail -n 8 "$root/var/log/firebird/firebird3.0.log" 2>/dev/null || true
    failed=1
  fi
done
exit "$failed"
