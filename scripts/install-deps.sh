#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, when any is missing;
# with "fuzz", also clang and the sanitizer runtimes of the release's clang (tests/fuzz/run.sh).
# Package names are chosen by the Debian release named in /etc/os-release: 12 or 13.
set -euo pipefail
packages=(cmake g++ pkgconf libwxgtk3.2-dev libwebkit2gtk-4.1-dev libx11-dev libgtk-3-dev
  libjpeg62-turbo-dev zlib1g-dev libbz2-dev liblzma-dev libzstd-dev nettle-dev libglib2.0-dev
  libgtest-dev libgmock-dev xvfb xauth xdotool bubblewrap xdg-dbus-proxy zip unzip libarchive-tools
  imagemagick python3 python3-pil time strace e2fsprogs git clang-format groff-base
  desktop-file-utils dpkg-dev shared-mime-info xdg-utils libglib2.0-bin appstream libxml2-utils)

release=unknown name="a system without /etc/os-release"
if [ -r /etc/os-release ]; then
  release=$(. /etc/os-release && echo "${ID:-}-${VERSION_ID:-${VERSION_CODENAME:-}}")
  name=$(. /etc/os-release && echo "${PRETTY_NAME:-$release}")
fi
case $release in
  debian-12 | debian-bookworm)
    packages+=(p7zip-full)
    fuzz_packages=(clang libclang-rt-14-dev) ;;
  debian-13 | debian-trixie)
    packages+=(7zip)
    fuzz_packages=(clang libclang-rt-19-dev) ;;
  *)
    echo "install-deps.sh: this is $name; the package names here are those of Debian 12" \
      "(bookworm) and Debian 13 (trixie)." >&2
    exit 1 ;;
esac
[ "${1:-}" = fuzz ] && packages+=("${fuzz_packages[@]}")
# The 32-bit compiler for the layout check exists for amd64 only; elsewhere the check is skipped.
[ "$(dpkg --print-architecture)" = amd64 ] && packages+=(g++-multilib)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run this as root, or install sudo." >&2; exit 1; }
    SUDO="sudo"
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
