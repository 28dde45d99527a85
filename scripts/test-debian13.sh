#!/usr/bin/env bash
# Runs the whole test suite (scripts/test.sh) in a Debian 13 "trixie" root made from Debian's
# packages, on a clean copy of the checkout's HEAD (with ../shared/corpus beside it when the
# checkout has one). The root is entered in a mount and process namespace of its own through
# pivot_root, with its own proc, sys, dev, dev/pts, dev/shm, run and a tmpfs /tmp, so mounts and
# the page engine's sandbox behave as on an installed system.
#
# The root, with what scripts/install-deps.sh installs into it, is kept in FOLIVO_DEBIAN13_CACHE
# (default /var/cache/folivo/debian13) and made anew when that script or the bootstrap below
# changes. Every run sees it through an overlay that is thrown away, so the cache stays as made.
#
#   scripts/test-debian13.sh              # scripts/test.sh inside
#   scripts/test-debian13.sh COMMAND...   # another command, run in the copy of the checkout
#
# Needs root (or sudo) for the mounts; exits with the status of the command run inside.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "test-debian13.sh: run this as root, or install sudo." >&2; exit 1; }
  exec sudo FOLIVO_DEBIAN13_CACHE="${FOLIVO_DEBIAN13_CACHE:-}" ${CI+CI="$CI"} "$0" "$@"
fi
cache=${FOLIVO_DEBIAN13_CACHE:-/var/cache/folivo/debian13}
(($#)) || set -- scripts/test.sh

mirror=http://deb.debian.org
# A throw-away root: dpkg need not sync every file it writes.
options=(--variant=minbase --dpkgopt=force-unsafe-io)
suite=trixie
sources=("deb $mirror/debian trixie main" "deb $mirror/debian trixie-updates main"
  "deb $mirror/debian-security trixie-security main")

for tool in mmdebstrap git; do
  command -v "$tool" >/dev/null && continue
  command -v apt-get >/dev/null || { echo "test-debian13.sh: needs $tool (and Debian's apt-get to install it)" >&2; exit 1; }
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$tool" >/dev/null
done

mkdir -p "$cache"
run=$(mktemp -d "$cache/run.XXXXXX")
trap 'rm -rf "$run"' EXIT

# The checkout as committed, and the shared corpus where the tests look for it.
mkdir -p "$run/src/folivo"
git -C "$top" archive HEAD | tar -x -C "$run/src/folivo"
git -C "$run/src/folivo" init -q
git -C "$run/src/folivo" add -A -f
git -C "$run/src/folivo" -c user.name=folivo -c user.email=folivo@localhost commit -q -m "$(git -C "$top" rev-parse HEAD)"
if [ -d "$top/../shared/corpus" ]; then
  mkdir -p "$run/src/shared"
  cp -r "$top/../shared/corpus" "$run/src/shared/corpus"
fi

# Runs "$@" in the root $1 (as it is, or through an overlay when $2 is a folder for its changes)
# in the checkout's copy; in a mount and process namespace of its own.
enter() {
  local root=$1 changes=$2
  shift 2
  if [ -n "$changes" ]; then
    mkdir -p "$changes/upper" "$changes/work" "$changes/merged"
    mount -t overlay overlay -o "lowerdir=$root,upperdir=$changes/upper,workdir=$changes/work" "$changes/merged"
    root=$changes/merged
  else
    mount --bind "$root" "$root"
  fi
  mount -t proc -o nosuid,nodev,noexec proc "$root/proc"
  mount -t sysfs -o nosuid,nodev,noexec,ro sysfs "$root/sys"
  mount -t tmpfs -o nosuid,mode=755 dev "$root/dev"
  local node
  for node in null zero full random urandom tty; do
    touch "$root/dev/$node"
    mount --bind "/dev/$node" "$root/dev/$node"
  done
  ln -s /proc/self/fd "$root/dev/fd"
  ln -s /proc/self/fd/0 "$root/dev/stdin"
  ln -s /proc/self/fd/1 "$root/dev/stdout"
  ln -s /proc/self/fd/2 "$root/dev/stderr"
  mkdir "$root/dev/pts" "$root/dev/shm"
  mount -t devpts -o newinstance,ptmxmode=0666,mode=620,gid=5 devpts "$root/dev/pts"
  ln -s pts/ptmx "$root/dev/ptmx"
  mount -t tmpfs -o nosuid,nodev,mode=1777 shm "$root/dev/shm"
  mount -t tmpfs -o nosuid,nodev,mode=1777 tmp "$root/tmp"
  mount -t tmpfs -o nosuid,nodev,mode=755 run "$root/run"
  mkdir -m 1777 "$root/run/lock"
  if [ -L "$root/etc/resolv.conf" ] || [ ! -e "$root/etc/resolv.conf" ]; then
    rm -f "$root/etc/resolv.conf"
    touch "$root/etc/resolv.conf"
  fi
  mount --bind /etc/resolv.conf "$root/etc/resolv.conf"
  mkdir -p "$root/src"
  mount --bind "$run/src" "$root/src"
  cd "$root"
  pivot_root . mnt
  cd /
  umount -l /mnt
  env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM="${TERM:-dumb}" \
    ${CI+CI="$CI"} bash -c 'cd /src/folivo && "$@"' folivo "$@"
}
inside() {
  unshare --mount --propagation private --pid --fork --kill-child \
    bash -c "set -euo pipefail; run=$(printf %q "$run"); $(declare -f enter); enter \"\$@\"" enter "$@"
}

# The cached root: made once per bootstrap and install script, with the install script run inside
# as a user would on a fresh system. A run holds a shared lock on it; a rebuild an exclusive one.
key=$(printf '%s\n' "${options[@]}" "$suite" "${sources[@]}" | cat - "$run/src/folivo/scripts/install-deps.sh" | sha256sum | cut -d' ' -f1)
exec 9>"$cache/lock"
flock 9
if [ "$(cat "$cache/key" 2>/dev/null)" != "$key" ]; then
  echo "== Debian 13 root: making it in $cache/root"
  rm -f "$cache/key"
  rm -rf "$cache/root" "$cache/root.new"
  mmdebstrap --quiet "${options[@]}" "$suite" "$cache/root.new" "${sources[@]}"
  status=0
  inside "$cache/root.new" "" bash -c 'scripts/install-deps.sh && apt-get clean' >"$cache/root.log" 2>&1 || status=$?
  if ((status)); then
    tail -n 40 "$cache/root.log"
    echo "test-debian13.sh: installing into the root failed (log: $cache/root.log)" >&2
    exit $status
  fi
  mv "$cache/root.new" "$cache/root"
  echo "$key" >"$cache/key"
fi
flock -s 9

echo "== Debian 13 root: $* in $cache/root"
status=0
inside "$cache/root" "$run/changes" "$@" || status=$?
echo "== Debian 13 root: exit status $status after $((SECONDS / 60)) min $((SECONDS % 60)) s"
exit $status
