#!/bin/bash
# ./run demo without a display: it must write the picture of the example sheet under build/,
# print its path and exit 0.
set -uo pipefail
root=$1
out=$(env -u DISPLAY "$root/run" demo 2>&1)
status=$?
echo "$out" | tail -5
[[ $status -eq 0 ]] || { echo "run demo: exit status $status"; exit 1; }
# The picture's path is the last line that names one: Xvfb may say goodbye after it.
shot=$(echo "$out" | grep -E '\.png$' | tail -1)
[[ $shot == "$root"/build/* && -s $shot ]] || { echo "run demo: no picture at '$shot'"; exit 1; }
[[ $(head -c 8 "$shot" | od -An -tx1 | tr -d ' ') == 89504e470d0a1a0a ]] || {
  echo "run demo: $shot is no PNG"
  exit 1
}
echo "run demo: $shot"
