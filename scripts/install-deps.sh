#!/usr/bin/env bash
# Installs the Debian packages Varnock needs, by group. This is the one place
# where packages are installed by name: add new ones to a group below.
#
#   scripts/install-deps.sh [--dry-run] [GROUP...]   (default group: build)
#
# Only missing packages are installed, and the package lists are refreshed
# only when something is missing. Runs as root, or through sudo otherwise.
set -euo pipefail

GROUPS_AVAILABLE="build fonts fuzz bench"

packages_of() {
  case "$1" in
    build)
      # Compiler, CMake, tests (pgn-extract is the reader's reference),
      # benchmarks, formatting, the compressed corpus; drawing (Qt Gui) and
      # the GIF and RTF readers the render tests check their output with;
      # a real UCI engine for the engine tests; zlib for the explorer's data;
      # the window at run time (Qt's
      # platform plugins, the icon theme of its bars, xdg-open for viewers)
      # and for driving it off screen (Xvfb, xdotool, xclip, imagemagick).
      echo cmake make g++ pkg-config \
        libgtest-dev libgmock-dev libbenchmark-dev pgn-extract \
        clang-format xz-utils python3 \
        qt6-base-dev libgl-dev python3-pil unrtf \
        stockfish libsimpleini-dev zlib1g-dev \
        qt6-qpa-plugins adwaita-icon-theme hicolor-icon-theme xdg-utils \
        xvfb xdotool xclip imagemagick
      ;;
    fonts)
      # The board fonts: SVG -> raster (rsvg-convert) -> masks (PIL)
      # -> outlines (potrace) -> TrueType (FontForge through the system python3).
      echo potrace fontforge python3-fontforge librsvg2-bin \
        python3 python3-pil python3-fonttools
      ;;
    fuzz)
      # clang with libFuzzer and the sanitizer runtimes; llvm-symbolizer
      # (package llvm) for stack traces and for fuzz/ubsan-known.supp, which
      # names functions; what the build and the seed script use.
      echo clang libclang-rt-14-dev llvm cmake make python3
      ;;
    bench)
      echo hyperfine time
      ;;
    *)
      return 1
      ;;
  esac
}

usage() {
  echo "Usage: $0 [--dry-run] [GROUP...]"
  echo "Groups: $GROUPS_AVAILABLE (default: build)"
}

is_installed() {
  local status
  status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) || return 1
  [[ "$status" == "install ok installed" ]]
}

dry_run=0
groups=()
for arg in "$@"; do
  case "$arg" in
    -h | --help) usage; exit 0 ;;
    -n | --dry-run) dry_run=1 ;;
    -*) usage >&2; exit 2 ;;
    *) groups+=("$arg") ;;
  esac
done
[[ ${#groups[@]} -gt 0 ]] || groups=(build)

wanted=()
for group in "${groups[@]}"; do
  if ! list=$(packages_of "$group"); then
    echo "install-deps: unknown group '$group' (groups: $GROUPS_AVAILABLE)" >&2
    exit 2
  fi
  read -r -a names <<<"$list"
  wanted+=("${names[@]}")
done

missing=()
for package in "${wanted[@]}"; do
  is_installed "$package" && continue
  [[ " ${missing[*]} " == *" $package "* ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "install-deps: ${groups[*]}: everything is installed"
  exit 0
fi
echo "install-deps: ${groups[*]}: missing ${missing[*]}"
if [[ $dry_run -eq 1 ]]; then exit 0; fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "install-deps: run as root, or install sudo, to install: ${missing[*]}" >&2
    exit 1
  fi
fi

export DEBIAN_FRONTEND=noninteractive
# Wait for another apt or dpkg run instead of failing on its lock.
apt_options=(-o DPkg::Lock::Timeout=600)
apt_get=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}")

"${apt_get[@]}" update

unknown=()
for package in "${missing[@]}"; do
  candidate=$(apt-cache policy "$package" | awk '/Candidate:/ { print $2 }')
  if [[ -z "$candidate" || "$candidate" == "(none)" ]]; then unknown+=("$package"); fi
done
if [[ ${#unknown[@]} -gt 0 ]]; then
  echo "install-deps: no Debian package named: ${unknown[*]}" >&2
  exit 1
fi

"${apt_get[@]}" install -y --no-install-recommends "${missing[@]}"
