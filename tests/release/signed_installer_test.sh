#!/usr/bin/env bash
# The signing path end to end: an installer built with a throwaway certificate
# (tests/release/CMakeLists.txt) carries programs that are each signed, is
# signed itself, installs under Wine, and what it installs are the signed
# programs; the product built without a certificate stays unsigned, and an
# altered signed file no longer verifies.
# Usage: signed_installer_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir="$1" build="$2"
signed="$build/tests/release/signed"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Verified against the test authority alone, not the machine's trusted roots.
verified() {
  local log
  log="$(osslsigncode verify -CAfile "$signed/test-ca.pem" -in "$1" 2>&1)" || return 1
  grep -q "Signature verification: ok" <<<"$log" && grep -q "Subject: /CN=Vantrel Test Signing" <<<"$log"
}

programs=(Lumorix.exe LSS.s~ Uninstall.exe)
for program in "${programs[@]}"; do
  verified "$signed/payload-programs/$program" || fail "$program in the signed payload does not verify"
  osslsigncode verify -in "$build/setup/payload-programs/$program" >/dev/null 2>&1 &&
    fail "$program of the build without a certificate carries a signature"
done
installer="$signed/bin/LumorixSetup.exe"
verified "$installer" || fail "the signed installer does not verify"

altered="$(mktemp)"
trap 'rm -f "$altered"' EXIT
cp "$installer" "$altered"
# A byte of the payload resource, well inside the signed range.
size=$(stat -c %s "$altered")
printf '\x5a' | dd of="$altered" bs=1 seek=$((size / 2)) conv=notrunc status=none
verified "$altered" && fail "an altered installer still verifies"

# Installed as a user would, silently, into a folder of its own.
export LUMORIX_WINE_SESSION=signed
"$source_dir/scripts/wine-run" "$build" "$installer" /S '/D=C:\Signed\Lumorix' ||
  fail "the signed installer did not install (exit $?)"
installed="$build/wine-session-signed/prefix/drive_c/Signed/Lumorix"
for program in "${programs[@]}"; do
  file="$installed/$program"
  if ! cmp -s "$file" "$signed/payload-programs/$program"; then
    fail "the installed $program is not the signed one"
  elif ! verified "$file"; then
    fail "the installed $program does not verify"
  fi
done

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
