#!/bin/bash
# The installer of ./run against fake apt-get, dpkg, dpkg-query and sudo on PATH: a machine that
# has everything, a broken index, a first install that apt cannot resolve, and one that fails for
# good. Each fake records its calls; the tests check what ran and what the user was told.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap '[[ -n ${KEEP:-} ]] || rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL [$case_name]: $*" >&2
  failures=$((failures + 1))
}

mkdir -p "$work/bin"
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/bash
# Installed packages are the lines of $FAKE_STATE/installed.
pkg=${*: -1}
grep -qxF "$pkg" "$FAKE_STATE/installed" 2>/dev/null && { echo -n 'install ok installed'; exit 0; }
exit 1
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/bash
echo "dpkg $*" >>"$FAKE_STATE/calls"
case $1 in
  --print-foreign-architectures) cat "$FAKE_STATE/arches" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$FAKE_STATE/arches" ;;
esac
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/bash
# FAKE_UPDATE=fail: a broken index. FAKE_INSTALL=fail-plain: only an install with -t works;
# FAKE_INSTALL=fail: every install fails.
echo "apt-get $*" >>"$FAKE_STATE/calls"
case $1 in
  update)
    echo "Hit:1 http://deb.example bookworm InRelease"
    if [[ ${FAKE_UPDATE:-} == fail ]]; then
      echo "E: Failed to fetch http://deb.example/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1234 != 1200)"
      echo "E: Some index files failed to download."
      exit 100
    fi
    ;;
  install)
    target=
    [[ " $* " == *" -t "* ]] && target=yes
    if [[ ${FAKE_INSTALL:-} == fail || (${FAKE_INSTALL:-} == fail-plain && -z $target) ]]; then
      echo "Reading package lists..."
      echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
      exit 100
    fi
    for a in "$@"; do [[ $a == -* || $a == install || $a == bookworm || $a == trixie ]] || echo "$a" >>"$FAKE_STATE/installed"; done
    ;;
esac
EOF
cat >"$work/bin/sudo" <<'EOF'
#!/bin/bash
exec "$@"
EOF
chmod +x "$work/bin"/*

# run_case NAME [VAR=VALUE...]: a fresh fake machine, then ensure_packages on three packages.
run_case() {
  case_name=$1
  shift
  export FAKE_STATE=$work/$case_name
  mkdir -p "$FAKE_STATE"
  : >"$FAKE_STATE/calls"
  printf 'PRETTY_NAME="Fake"\nVERSION_CODENAME=trixie\n' >"$FAKE_STATE/os-release"
  (
    export PATH="$work/bin:$PATH" VEL_OS_RELEASE=$FAKE_STATE/os-release "$@"
    # shellcheck source=../../tools/packages.sh
    . "$root/tools/packages.sh"
    ensure_packages clang wine wine32:i386
  ) >"$FAKE_STATE/out" 2>&1
  status=$?
  out=$(cat "$FAKE_STATE/out")
  calls=$(cat "$FAKE_STATE/calls")
}

expect_installed() {
  local p
  for p in clang wine wine32:i386; do
    grep -qxF "$p" "$FAKE_STATE/installed" 2>/dev/null || fail "$p was not installed"
  done
}

# Nothing missing: no apt command and no dpkg change at all.
mkdir -p "$work/complete"
printf '%s\n' clang wine wine32:i386 >"$work/complete/installed"
run_case complete
[[ $status -eq 0 ]] || fail "status $status"
[[ -z $calls ]] || fail "commands ran on a complete machine: $calls"
[[ -z $out ]] || fail "it printed on a complete machine: $out"

# A fresh machine whose indexes all arrive: i386 is added, one update, one install.
run_case fresh
[[ $status -eq 0 ]] || fail "status $status: $out"
expect_installed
grep -qx 'dpkg --add-architecture i386' <<<"$calls" || fail "i386 was not added"
[[ $(grep -c '^apt-get install' <<<"$calls") -eq 1 ]] || fail "not one install: $calls"
grep -q 'failed' <<<"$out" && fail "a failure was reported: $out"

# A broken index: one line says so, and the install still runs.
run_case broken-index FAKE_UPDATE=fail
[[ $status -eq 0 ]] || fail "status $status: $out"
expect_installed
[[ $(grep -c 'index' <<<"$out") -eq 1 ]] || fail "not one line about the index: $out"
grep -q 'binary-i386/Packages' <<<"$out" || fail "the failed index is not named: $out"

# The first install cannot resolve the two architectures; the retry targets the release's suite,
# named by the os-release file, not by a name built into the installer.
run_case retry FAKE_UPDATE=fail FAKE_INSTALL=fail-plain
[[ $status -eq 0 ]] || fail "status $status: $out"
expect_installed
grep -qx 'apt-get install -y -q -t trixie clang wine wine32:i386' <<<"$calls" ||
  fail "no retry with the release as target: $calls"
[[ $(grep -c '^apt-get install' <<<"$calls") -eq 2 ]] || fail "not two installs: $calls"
grep -q 'pkgProblemResolver' <<<"$out" && fail "apt's lines shown although the retry worked"

# Both installs fail: the run ends with apt's own last lines, after exactly one retry.
run_case both-fail FAKE_INSTALL=fail
[[ $status -ne 0 ]] || fail "a failed install reported success"
[[ $(grep -c '^apt-get install' <<<"$calls") -eq 2 ]] || fail "not exactly two installs: $calls"
grep -q 'installing packages failed' <<<"$out" || fail "no failure message: $out"
grep -q 'pkgProblemResolver::Resolve generated breaks' <<<"$out" || fail "apt's lines missing: $out"

# No codename to read: no retry, and still apt's lines.
run_case no-codename FAKE_INSTALL=fail VEL_OS_RELEASE=/nonexistent
[[ $status -ne 0 ]] || fail "a failed install reported success"
[[ $(grep -c '^apt-get install' <<<"$calls") -eq 1 ]] || fail "retried without a codename: $calls"
grep -q 'pkgProblemResolver' <<<"$out" || fail "apt's lines missing: $out"

if [[ $failures -gt 0 ]]; then
  echo "packages_test: $failures failure(s)" >&2
  exit 1
fi
echo "packages_test: all cases passed"
