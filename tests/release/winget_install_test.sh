#!/usr/bin/env bash
# The x64 installer run exactly as the Windows Package Manager runs it from the
# manifest the build wrote, for each scope: the silent switch, then the
# installer's custom switch (/CurrentUser for the user's scope), then the
# install-location switch with the path put in for <INSTALLPATH> (winget's
# order for an exe installer), and the outcome read the way winget reads it:
# the exit code through ExpectedReturnCodes, the installation through the
# product code's uninstall entry (the machine's, or the user's hive's).
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
# A switch of the installer of ARCH and SCOPE: its own, else the manifest's
# (an installer's switches take the root's place, as winget reads them).
switch_of() {
  local own
  own="$(awk -v arch="$1" -v scope="$2" -v key="$3:" '
    /^- Architecture:/ { here = ($3 == arch); chosen = 0; next }
    here && $1 == "Scope:" { chosen = ($2 == scope) }
    here && chosen && $1 == key { sub(/^ *[^:]*: */, ""); print; exit }' "$installer_manifest")"
  if [ -n "$own" ] || [ "$3" = Custom ]; then echo "$own"; else value "$3"; fi
}
# The installer entry of ARCH and SCOPE: its elevation requirement.
elevation_of() {
  awk -v arch="$1" -v scope="$2" '
    /^- Architecture:/ { here = ($3 == arch); chosen = 0; next }
    here && $1 == "Scope:" { chosen = ($2 == scope) }
    here && chosen && $1 == "ElevationRequirement:" { print $2; exit }' "$installer_manifest"
}
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
[ -n "$product" ] || fail "the manifest lacks the product code"
for arch in x64 x86; do
  [ "$(elevation_of $arch machine)" = elevatesSelf ] || fail "no $arch installer for everyone that elevates itself"
  [ "$(elevation_of $arch user)" = elevationProhibited ] || fail "no $arch installer for the user that runs unelevated"
  [ "$(switch_of $arch user Custom)" = /CurrentUser ] || fail "the $arch user installer does not say /CurrentUser"
  [ -z "$(switch_of $arch machine Custom)" ] || fail "the $arch machine installer has a custom switch"
done
# The codes winget has a meaning for.
[ "$(response_to 3)" = packageInUse ] || fail "exit code 3 (the running Lumorix did not end) is not packageInUse"
[ "$(response_to 4)" = cancelledByUser ] || fail "exit code 4 (consent declined) is not cancelledByUser"

export LUMORIX_WINE_SESSION=winget
"$source_dir/scripts/wine-run" "$build" cmd /c exit 0  # the session's prefix, for the batch file below
prefix="$build/wine-session-winget/prefix"
# The user's installations of an earlier run are gone, as on a user's first installation.
"$source_dir/scripts/wine-run" "$build" reg delete \
  'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumorix' /f >/dev/null 2>&1 || true
rm -rf "$prefix/drive_c/Apps/Mine 1.1" "$prefix"/drive_c/users/*/AppData/Local/Programs/Vantrel
# winget hands the installer one command line, the switches joined by blanks and
# the path put in as it is (no quotes: /D= takes the rest of the line); a batch
# file passes it on unchanged, where Wine would quote an argument with a blank.
# SCOPE and the location ("" when `--location` is not given).
run_as_winget() {
  local scope="$1" location="$2" batch="$prefix/drive_c/winget-install.bat" line
  line="$(switch_of x64 "$scope" Silent)"
  local custom; custom="$(switch_of x64 "$scope" Custom)"
  [ -n "$custom" ] && line+=" $custom"
  if [ -n "$location" ]; then
    local location_switch; location_switch="$(switch_of x64 "$scope" InstallLocation)"
    line+=" ${location_switch/<INSTALLPATH>/$location}"
  fi
  printf '"Z:%s" %s\r\nexit /b %%ERRORLEVEL%%\r\n' "$(tr / '\\' <<<"$installer")" "$line" >"$batch"
  "$source_dir/scripts/wine-run" "$build" cmd /c 'C:\winget-install.bat'
}
entry_key="Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
# A value of the entry in HIVE (HKLM, HKCU).
hive_value() {
  "$source_dir/scripts/wine-run" "$build" reg query "$1\\$entry_key" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_SZ *//p"
}
entry_value() { hive_value HKLM "$1"; }
# What winget reads after a run that ended with STATUS: success, the files in
# LOCATION (Windows form), the entry of HIVE naming it with the package's version.
expect_installed() {
  local status="$1" hive="$2" location="$3" unix
  unix="$prefix/drive_c/$(tr '\\' / <<<"${location#C:\\}")"
  [ "$status" -eq 0 ] || fail "the installation into $location ended with $status ($(response_to "$status"))"
  [ -f "$unix/Lumorix.exe" ] || fail "Lumorix.exe is not in $location"
  [ "$(hive_value "$hive" InstallLocation)" = "$location\\" ] || fail "the $hive entry does not name $location"
  [ "$(hive_value "$hive" DisplayVersion)" = "$version" ] || fail "the $hive entry's version is not the package's"
}

# `winget install --location "C:\Apps\Lumorix 1.1"`: a folder with a blank in it.
location='C:\Apps\Lumorix 1.1'
run_as_winget machine "$location"
expect_installed $? HKLM "$location"

# A location the installer refuses (a drive's root) is reported as winget
# would tell the user: an invalid parameter, not a failure of unknown cause.
run_as_winget machine 'C:\'
status=$?
[ "$status" -ne 0 ] || fail "a drive's root was accepted"
[ "$(response_to "$status")" = invalidParameter ] || fail "exit code $status is not mapped to invalidParameter"

# `winget install --scope user --location "C:\Apps\Mine 1.1"`: the custom switch
# comes before /D=, which takes the rest of the line. The entry is in the
# user's hive; the machine's stays as the first installation left it.
user_location='C:\Apps\Mine 1.1'
run_as_winget user "$user_location"
expect_installed $? HKCU "$user_location"
[ "$(entry_value InstallLocation)" = "$location\\" ] || fail "the machine's entry changed"

# `winget install --scope user` without a location: the user's own programs
# folder. (The earlier folder stays where the user put it: no uninstaller ran.)
run_as_winget user ""
status=$?
[ "$status" -eq 0 ] || fail "the user's installation into its default folder ended with $status"
own="$(hive_value HKCU InstallLocation)"
case "$own" in
  *'\AppData\Local\Programs\Vantrel\Lumorix\') ;;
  *) fail "the user's default folder is $own, not their own programs folder" ;;
esac

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
