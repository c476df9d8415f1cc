#!/bin/bash
# ./run demo without a display: it must write the picture of the example sheet under build/,
# print its path and exit 0. Given options alone (a picture's path), it still opens the example.
set -uo pipefail
root=$1

is_png() { [[ -s $1 && $(head -c 8 "$1" | od -An -tx1 | tr -d ' ') == 89504e470d0a1a0a ]]; }

out=$(env -u DISPLAY "$root/run" demo 2>&1)
status=$?
echo "$out" | tail -5
[[ $status -eq 0 ]] || { echo "run demo: exit status $status"; exit 1; }
# The picture's path is the last line that names one: Xvfb may say goodbye after it.
shot=$(echo "$out" | grep -E '\.png$' | tail -1)
[[ $shot == "$root"/build/* ]] || { echo "run demo: no picture at '$shot'"; exit 1; }
is_png "$shot" || { echo "run demo: $shot is no PNG"; exit 1; }
echo "run demo: $shot"

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
out=$(env -u DISPLAY "$root/run" demo --screenshot "$dir/sheet.png" 2>&1)
status=$?
echo "$out" | tail -5
[[ $status -eq 0 ]] || { echo "run demo --screenshot: exit status $status"; exit 1; }
echo "$out" | grep -q "^==> demo-host --screenshot $dir/sheet.png $root/examples/ayla.zarp" ||
  { echo "run demo --screenshot: the example sheet was not opened"; exit 1; }
is_png "$dir/sheet.png" || { echo "run demo --screenshot: no PNG at $dir/sheet.png"; exit 1; }
echo "run demo --screenshot: $dir/sheet.png"
