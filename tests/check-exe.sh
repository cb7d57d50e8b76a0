#!/usr/bin/env bash
# Checks the built tool: a PE of the expected machine, GUI subsystem, importing only system
# DLLs, stripped and within its size budget.
set -euo pipefail
exe=$1
triple=$2
budget=$((64 * 1024))
objdump=${triple}-objdump
headers=$($objdump -p "$exe")
status=0
fail() { echo "FAIL: $*"; status=1; }

case $triple in
  i686-*) grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit PE" ;;
  x86_64-*) grep -q 'file format pei-x86-64' <<<"$headers" || fail "not a 64-bit PE" ;;
esac
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a GUI-subsystem program"
imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print toupper($3)}' | sort)
for dll in $imports; do
  case $dll in
    KERNEL32.DLL | ADVAPI32.DLL | USER32.DLL | SHELL32.DLL | OLE32.DLL | MSVCRT.DLL) ;;
    *) fail "imports $dll" ;;
  esac
done
if $objdump -t "$exe" 2>/dev/null | grep -q '\.text'; then fail "symbols not stripped"; fi
size=$(stat -c %s "$exe")
echo "size: $size bytes (budget $budget); imports: $(echo $imports)"
[ "$size" -le "$budget" ] || fail "larger than $budget bytes"
exit $status
