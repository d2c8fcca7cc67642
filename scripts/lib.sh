# Shared steps of the project scripts: install what is missing, configure, build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="${JOBS:-$(nproc)}"

install_packages() {
  local missing=()
  while read -r pkg; do
    [ -z "$pkg" ] && continue
    case "$pkg" in \#*) continue ;; esac
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done < "$ROOT/scripts/packages"
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
      echo "missing packages and not root: ${missing[*]}" >&2
      exit 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# configure_and_build BUILD_DIR BUILD_TYPE [extra cmake args...] -- [targets...]
configure_and_build() {
  local dir="$1" type="$2"; shift 2
  # Warnings in our code stop the scripts' builds.
  local args=("-DVLM_WERROR=ON")
  # A developer machine with ccache shares compiled objects between build folders.
  command -v ccache >/dev/null 2>&1 && args+=("-DCMAKE_C_COMPILER_LAUNCHER=ccache" "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
  while [ "$#" -gt 0 ] && [ "$1" != "--" ]; do args+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${args[@]}" > "$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
  ninja -C "$dir" -j "$JOBS" "$@"
}

# The build a newcomer types, cmake -S . -B build && cmake --build build:
# cmake's defaults (Release, tests and benchmarks on, warnings not fatal).
# Only the parallel jobs, and ccache where it is installed, are added: they
# change how fast it builds, not what.
build_default_configuration() {
  local dir="$1" launcher=()
  command -v ccache >/dev/null 2>&1 && launcher+=("-DCMAKE_C_COMPILER_LAUNCHER=ccache" "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
  cmake -S "$ROOT" -B "$dir" "${launcher[@]}" && cmake --build "$dir" --parallel "$JOBS"
}

# Runs a command under a virtual X display when none is set.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    # -noreset: the server must not reset between test programs, or one that
    # connects while it resets finds no display.
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"
  fi
}
