#!/usr/bin/env bash
# The x64 installer run exactly as the Windows Package Manager runs it from the
# manifest the build wrote: the silent switch, then the install-location switch
# with the path put in for <INSTALLPATH> (winget's order for an exe installer),
# and the outcome read the way winget reads it: the exit code through
# ExpectedReturnCodes, the installation through the product code's uninstall entry.
# Usage: winget_install_test.sh SOURCE_DIR BUILD_DIR VERSION
set -uo pipefail
source_dir="$1" build="$2" version="$3"
manifests="$build/winget/manifests/v/Vantrel/Lumorix/$version"
installer_manifest="$manifests/Vantrel.Lumorix.installer.yaml"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
[ -f "$installer_manifest" ] || { echo "FAIL: no manifest in $manifests (build the winget_manifest target)" >&2; exit 1; }

# The value of a key of the installer manifest ("  Silent: /S" gives "/S").
value() { sed -n "s/^ *$1: *//p" "$installer_manifest" | head -n1 | tr -d '"'; }
# The response the manifest gives an exit code, or "" when it lists none.
response_to() {
  awk -v code="$1" '/InstallerReturnCode:/ { found = ($NF == code) } found && /ReturnResponse:/ { print $2; exit }' \
    "$installer_manifest"
}

installer="$build/bin/LumorixSetup.exe"
x64_sha="$(awk '/Architecture: x64/ { x64 = 1 } x64 && /InstallerSha256:/ { print $2; exit }' "$installer_manifest")"
[ "$x64_sha" = "$(sha256sum "$installer" | cut -d' ' -f1 | tr a-f A-F)" ] ||
  fail "the manifest's x64 hash is not the installer's"
for file in Vantrel.Lumorix.yaml Vantrel.Lumorix.locale.en-US.yaml; do
  grep -q "^PackageVersion: \"$version\"" "$manifests/$file" || fail "$file is not for version $version"
done
product="$(value ProductCode)"
silent="$(value Silent)"
location_switch="$(value InstallLocation)"
[ -n "$silent" ] && [ -n "$location_switch" ] && [ -n "$product" ] || fail "the manifest lacks a switch or the product code"

export LUMORIX_WINE_SESSION=winget
"$source_dir/scripts/wine-run" "$build" cmd /c exit 0  # the session's prefix, for the batch file below
# winget hands the installer one command line, the switches joined by blanks and
# the path put in as it is (no quotes: /D= takes the rest of the line); a batch
# file passes it on unchanged, where Wine would quote an argument with a blank.
run_as_winget() {
  local location="$1" batch="$build/wine-session-winget/prefix/drive_c/winget-install.bat"
  printf '"Z:%s" %s %s\r\nexit /b %%ERRORLEVEL%%\r\n' "$(tr / '\\' <<<"$installer")" "$silent" \
    "${location_switch/<INSTALLPATH>/$location}" >"$batch"
  "$source_dir/scripts/wine-run" "$build" cmd /c 'C:\winget-install.bat'
}
entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
entry_value() {
  "$source_dir/scripts/wine-run" "$build" reg query "$entry" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_SZ *//p"
}

# `winget install --location "C:\Apps\Lumorix 1.1"`: a folder with a blank in it.
location='C:\Apps\Lumorix 1.1'
run_as_winget "$location"
status=$?
[ "$status" -eq 0 ] || fail "the installation ended with $status ($(response_to "$status"))"
[ -f "$build/wine-session-winget/prefix/drive_c/Apps/Lumorix 1.1/Lumorix.exe" ] || fail "Lumorix.exe is not in $location"
[ "$(entry_value InstallLocation)" = "$location\\" ] || fail "the product code's entry does not name $location"
[ "$(entry_value DisplayVersion)" = "$version" ] || fail "the entry's version is not the package's"

# A location the installer refuses (a drive's root) is reported as winget
# would tell the user: an invalid parameter, not a failure of unknown cause.
run_as_winget 'C:\'
status=$?
[ "$status" -ne 0 ] || fail "a drive's root was accepted"
[ "$(response_to "$status")" = invalidParameter ] || fail "exit code $status is not mapped to invalidParameter"

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
