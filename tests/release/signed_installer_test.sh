#!/usr/bin/env bash
# The signing path end to end: an installer built with a throwaway certificate
# (tests/release/CMakeLists.txt) carries programs that are each signed, is
# signed itself, installs under Wine, and what it installs are the signed
# programs; the product built without a certificate stays unsigned, and an
# altered signed file no longer verifies.
# Usage: signed_installer_test.sh SOURCE_DIR BUILD_DIR STRIP
set -uo pipefail
source_dir="$1" build="$2" strip_tool="$3"
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

# With a time-stamp server named, the signature carries its time stamp,
# verified against the same test authority.
port_file="$(mktemp)"
python3 "$source_dir/tests/release/time_stamp_server.py" "$signed" >"$port_file" &
server=$!
for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
stamped="$(mktemp)"
"$source_dir/scripts/ship-program" --strip "$strip_tool" \
  --pkcs12 "$signed/signing.p12" --password-file "$signed/password.txt" \
  --timestamp "http://127.0.0.1:$(cat "$port_file")" "$build/bin/LumorixSS.exe" "$stamped" >/dev/null ||
  fail "signing with a time stamp failed"
kill "$server" 2>/dev/null
stamp_log="$(osslsigncode verify -CAfile "$signed/test-ca.pem" -TSA-CAfile "$signed/test-ca.pem" -in "$stamped" 2>&1)"
grep -q "Timestamp Server Signature verification: ok" <<<"$stamp_log" ||
  fail "the time-stamped program carries no verified time stamp"
rm -f "$port_file" "$stamped"

# A key on a hardware token, through its PKCS#11 module: SoftHSM stands in
# for the token, holding the same signing key.
token="$(mktemp -d)"
export SOFTHSM2_CONF="$token/softhsm2.conf"
printf 'directories.tokendir = %s\nobjectstore.backend = file\n' "$token" >"$SOFTHSM2_CONF"
printf '5678' >"$token/pin"
openssl pkcs8 -topk8 -nocrypt -in "$signed/signing.key" -out "$token/key.p8"
if softhsm2-util --init-token --free --label lumorix --so-pin 1234 --pin 5678 >/dev/null &&
   softhsm2-util --import "$token/key.p8" --token lumorix --label signing --id 01 --pin 5678 >/dev/null; then
  "$source_dir/scripts/ship-program" --strip "$strip_tool" --pkcs11-module /usr/lib/softhsm/libsofthsm2.so \
    --key "pkcs11:token=lumorix;object=signing;type=private" --certificates "$signed/signing.pem" \
    --password-file "$token/pin" "$build/bin/LumorixSS.exe" "$token/signed.exe" >/dev/null ||
    fail "signing with the key on the token failed"
  verified "$token/signed.exe" || fail "the program signed with the token's key does not verify"
else
  fail "the stand-in token could not be made"
fi
rm -rf "$token"
unset SOFTHSM2_CONF

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
