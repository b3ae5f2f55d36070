#!/usr/bin/env bash
# Runs vemo-console on one case file and compares what it prints.
# Usage: run_case.sh VEMO_CONSOLE CASE_FILE
# A case file has sections, each started by a line of its own:
#   #args       one command-line argument per line
#   #stdin      the lines given on standard input (none: standard input is empty)
#   #stdout     the exact expected standard output
#   #exit N     the expected exit status (default 0)
#   #stderr T   text that standard error must contain
set -uo pipefail
console="$1"
case_file="$2"

args=()
stdin=""
expected=""
exit_expected=0
stderr_expected=""
section=""
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in
    "#args") section=args; continue ;;
    "#stdin") section=stdin; continue ;;
    "#stdout") section=stdout; continue ;;
    "#exit "*) exit_expected="${line#\#exit }"; section=""; continue ;;
    "#stderr "*) stderr_expected="${line#\#stderr }"; section=""; continue ;;
  esac
  case "$section" in
    args) args+=("$line") ;;
    stdin) stdin+="$line"$'\n' ;;
    stdout) expected+="$line"$'\n' ;;
  esac
done <"$case_file"

out_file="$(mktemp)"
err_file="$(mktemp)"
trap 'rm -f "$out_file" "$err_file"' EXIT
printf '%s' "$stdin" | "$console" "${args[@]}" >"$out_file" 2>"$err_file"
status=$?

failed=0
if [ "$status" -ne "$exit_expected" ]; then
  echo "exit status $status, expected $exit_expected"
  failed=1
fi
if ! diff -u <(printf '%s' "$expected") "$out_file" >&2; then
  echo "standard output differs (expected first)"
  failed=1
fi
if [ -n "$stderr_expected" ] && ! grep -qF -- "$stderr_expected" "$err_file"; then
  echo "standard error lacks: $stderr_expected"
  cat "$err_file"
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "case $(basename "$case_file") failed"
  exit 1
fi
