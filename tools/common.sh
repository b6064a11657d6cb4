# Shared by run.sh and test.sh: install what Debian packages are missing, then
# configure and build. Sourced, not run.

TAVORIN_PACKAGES="cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libqt6serialport6 libgtest-dev libshp-dev libbenchmark-dev libhamlib-utils libgl-dev xdg-utils locales"

install_missing_packages() {
  local missing=()
  for p in $TAVORIN_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# build_tree DIR [cmake args...] [-- TARGET...]: configures once, then
# rebuilds only what changed: the targets named, else everything. A -D option
# given that the tree holds with another value is set anew, so a tree made
# by one script builds as the other wants too.
build_tree() {
  local dir="$1"; shift
  local args=() targets=()
  while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then shift; targets=("$@"); break; fi
    args+=("$1"); shift
  done
  if [ ! -f "$dir/build.ninja" ]; then
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "${args[@]}"
  else
    local a name value
    for a in "${args[@]}"; do
      case "$a" in -D*=*) ;; *) continue ;; esac
      name="${a#-D}"; value="${name#*=}"; name="${name%%=*}"; name="${name%%:*}"
      if ! grep -qx "$name:[A-Z]*=$value" "$dir/CMakeCache.txt"; then
        cmake -S . -B "$dir" "${args[@]}"
        break
      fi
    done
  fi
  local which=()
  [ ${#targets[@]} -gt 0 ] && which=(--target "${targets[@]}")
  cmake --build "$dir" -j "$(nproc)" "${which[@]}"
}

# The tests prove that number text ignores the locale by running under a
# German one (decimal comma); make sure it exists.
ensure_test_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not create the de_DE.UTF-8 locale"
}
