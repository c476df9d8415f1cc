# The Debian packages the builds need, and the one function that installs what is missing.
# Sourced by ./run and by its test (tests/run/packages_test.sh), which puts fake apt-get, dpkg and
# dpkg-query first on PATH.

VEL_PACKAGES=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev zlib1g-dev googletest
  libgtest-dev libbenchmark-dev clang xvfb xauth wine wine32:i386 wine64 libsqlite3-dev
  nlohmann-json3-dev imagemagick)

# Where the release's codename is read from; the test points it at a file of its own.
VEL_OS_RELEASE=${VEL_OS_RELEASE:-/etc/os-release}

vel_as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

# ensure_packages [PACKAGE...] (default: VEL_PACKAGES)
# dpkg answers for a warm machine in milliseconds, and then no apt command runs at all. Otherwise
# a failed index in apt-get update is reported in one line and the install goes ahead with the
# indexes that did arrive. A failed install is retried once with the release's own suite as the
# target release: when one architecture's index of an update suite is broken, the other
# architecture's newer packages there cannot be matched by their multi-arch twins, and taking
# both from the release resolves it. Only when that fails too does it give up, showing apt's
# last lines.
ensure_packages() {
  local wanted=("$@") missing=() p log codename
  [[ ${#wanted[@]} -gt 0 ]] || wanted=("${VEL_PACKAGES[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0

  printf '\n==> installing %s\n' "${missing[*]}"
  if [[ " ${missing[*]} " == *:i386\ * ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    vel_as_root dpkg --add-architecture i386 || return 1
  fi
  log=$(mktemp) || return 1
  if ! vel_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q >"$log" 2>&1; then
    local why
    why=$(sed -nE 's/.*Failed to fetch ([^ ]+).*/\1/p' "$log" | head -n 1)
    [[ -n $why ]] || why=$(grep -m1 -E '^(E|W|Err):' "$log" | cut -c1-160)
    echo "run: an index of the archive failed to update${why:+ ($why)}; installing from the rest"
  fi
  if vel_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" \
    >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  codename=$(. "$VEL_OS_RELEASE" 2>/dev/null && echo "${VERSION_CODENAME:-}")
  if [[ -n $codename ]]; then
    echo "run: the install failed; retrying with the release's own suite ($codename) as target"
    if vel_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -t "$codename" \
      "${missing[@]}" >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
  fi
  echo "run: installing packages failed; apt-get's last lines:" >&2
  tail -n 12 "$log" | sed 's/^/  /' >&2
  rm -f "$log"
  return 1
}
