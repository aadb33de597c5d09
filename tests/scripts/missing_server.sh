#!/usr/bin/env bash
# scripts/test where no Firebird server can be started, against a stand-in
# build of two tests (one skipped by CTest, one holding a skipped case): the
# run fails with the reason unless a person asks to skip, never under CI,
# and the skipped tests are counted on the last line.
#   missing_server.sh SOURCE_DIR
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/scripts" "$work/bin" "$work/build"
cp "$1/scripts/test" "$1/scripts/common.sh" "$work/scripts/"
printf '#!/bin/sh\necho "port 3050 is taken" >&2\nexit 1\n' >"$work/scripts/firebird-server"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/cmake"
printf '#!/bin/sh\nprintf "<testsuites>\\n<testcase name=\\"a\\" result=\\"skipped\\"/>\\n" >"${GTEST_OUTPUT#xml:}case.xml"\n' >"$work/bin/case"
chmod +x "$work/scripts/"* "$work/bin/"*
touch "$work/build/CMakeCache.txt"
cat >"$work/build/CTestTestfile.cmake" <<CTEST
add_test(case "$work/bin/case")
add_test(program /bin/sh -c "exit 77")
set_tests_properties(program PROPERTIES SKIP_RETURN_CODE 77)
CTEST

failed=0
expect() {
  local code=$1 text=$2
  shift 2
  local output
  output=$(env -u CI -u VARNEX_SKIP_NETWORK PATH="$work/bin:$PATH" VARNEX_BUILD_DIR="$work/build" "$@" "$work/scripts/test" 2>&1)
  local got=$?
  if [[ $got == "$code" && $output == *"$text"* ]]; then
    echo "ok: $* -> $code"
  else
    echo "FAILED: $* gave $got, expected $code and \"$text\":"
    echo "$output" | tail -n 5
    failed=1
  fi
}
expect 1 "No Firebird server for the network-mode tests: port 3050 is taken" CI=true
expect 1 "VARNEX_SKIP_NETWORK=1 scripts/test" env
expect 1 "under CI the network-mode tests always run" CI=true VARNEX_SKIP_NETWORK=1
expect 0 "Skipped: 1 test programs, 1 test cases inside programs." VARNEX_SKIP_NETWORK=1
[[ $(env -u CI PATH="$work/bin:$PATH" VARNEX_BUILD_DIR="$work/build" VARNEX_SKIP_NETWORK=1 "$work/scripts/test" 2>&1 | tail -n 1) == Skipped:* ]] \
  || { echo "FAILED: the count is not the last line"; failed=1; }
exit "$failed"
