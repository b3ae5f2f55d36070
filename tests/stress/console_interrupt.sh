#!/usr/bin/env bash
# Ctrl+C of a real vemo-console process, sent as a real SIGINT: during a computation it
# stops the computation (the display reads the stop message and the calculator works
# again after CE); with nothing running it ends the program.
# Usage: console_interrupt.sh VEMO_CONSOLE
set -uo pipefail
console="$1"
work="$(mktemp -d)"
pid=""
cleanup() {
  exec 3>&- 2>/dev/null
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "console interrupt: $*"
  echo "output so far:"
  cat "$work/out"
  exit 1
}

# Waits (at most $2 seconds) until the output has $1 lines.
wait_for_lines() {
  local want="$1" limit="$2" waited=0
  while [ "$(wc -l <"$work/out")" -lt "$want" ]; do
    sleep 0.1
    waited=$((waited + 1))
    [ "$waited" -le $((limit * 10)) ] || return 1
  done
}

line() { sed -n "${1}p" "$work/out"; }

mkfifo "$work/in"
"$console" --layout=scientific <"$work/in" >"$work/out" 2>"$work/err" &
pid=$!
exec 3>"$work/in"

# A huge fraction: its integer part is computed through a text of millions of digits.
echo '1<100000000=/3=' >&3
wait_for_lines 1 60 || fail "the set-up line gave no output"
echo ';' >&3
sleep 1
[ "$(wc -l <"$work/out")" -eq 1 ] || fail "the computation ended before Ctrl+C: the test proves nothing"
kill -INT "$pid"
wait_for_lines 2 20 || fail "Ctrl+C did not stop the computation"
[ "$(line 2)" = "Действие прервано." ] || fail "after Ctrl+C the display reads '$(line 2)'"
kill -0 "$pid" 2>/dev/null || fail "Ctrl+C during a computation ended the program"

echo '[Del]' >&3
echo '2+2=' >&3
wait_for_lines 4 20 || fail "no output after CE"
[ "$(line 3)" = "0." ] || fail "after CE the display reads '$(line 3)'"
[ "$(line 4)" = "4." ] || fail "after CE, 2+2= gives '$(line 4)'"

# Nothing runs now: Ctrl+C ends the program as the terminal's default does.
kill -INT "$pid"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+C with nothing running did not end the program"
wait "$pid"
status=$?
pid=""
[ "$status" -eq 130 ] || fail "the program ended with status $status, not by the interrupt (130)"
echo "console interrupt: stop during a computation, CE, and exit when idle all behave"
