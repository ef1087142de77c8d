# --help and --version answer without a window (no display is needed), and
# without a display the editor says so in one line.
source "$(dirname "$0")/edit_lib.sh" "$@"
out=$(env -u DISPLAY "$pwe" --help) || fail "--help exit status $?"
case "$out" in "usage: pwe-edit "*) ;; *) fail "--help printed: $out" ;; esac
out=$(env -u DISPLAY "$pwe" --version) || fail "--version exit status $?"
[ "$(echo "$out" | head -n 1)" = "pwe-edit $(sed -n 's/^project(pwe VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")" ] ||
  fail "--version printed: $out"
err=$(cd "$work" && env -u DISPLAY "$pwe" 2>&1 >/dev/null)
status=$?
[ "$status" -eq 1 ] || fail "exit status $status without a display"
[ "$(echo "$err" | wc -l)" -eq 1 ] || fail "more than one line without a display: $err"
case "$err" in "pwe-edit: no display"*) ;; *) fail "without a display: $err" ;; esac
echo PASS
