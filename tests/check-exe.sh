#!/usr/bin/env bash
# Checks the built tool: a PE of the expected machine, GUI subsystem, importing only system
# DLLs, stripped and within its size budget.
set -euo pipefail
exe=$1
triple=$2
version=$3
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
# Resources: the manifest and the Japanese version information.
resources=$(PYTHONIOENCODING=utf-8 python3 "$(dirname "$0")/pe-resources" "$exe")
expect() { grep -qF -- "$1" <<<"$resources" || fail "resources lack: $1"; }
expect '<requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>'
expect '>ja-JP</activeCodePage>'
expect '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'
case $triple in
  i686-*) expect 'processorArchitecture="x86"' ;;
  x86_64-*) expect 'processorArchitecture="amd64"' ;;
esac
expect 'version FileDescription=拡張辞書セットアップ'
expect 'version ProductName=拡張辞書セットアップ'
expect "version FileVersion=$version"
expect 'translation 0411 932'

size=$(stat -c %s "$exe")
echo "size: $size bytes (budget $budget); imports: $(echo $imports)"
[ "$size" -le "$budget" ] || fail "larger than $budget bytes"
exit $status
