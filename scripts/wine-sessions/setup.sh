# The installer's end-to-end tests: a prefix of their own (of the build's kind: 64-bit for the x64 build), since they
# install into program files and write the uninstall entry and shortcuts, and
# a second drive Q: (a folder of the session) to start the uninstallation from.
prepare_prefix() {
  mkdir -p "$session/drive-q"
  ln -sfn "$session/drive-q" "$WINEPREFIX/dosdevices/q:"
  # Wine links the user's desktop to the home folder, which every prefix on
  # the machine shares; the shortcuts the tests make stay in this one.
  for user in "$WINEPREFIX"/drive_c/users/*/; do
    if [ -L "$user/Desktop" ]; then rm "$user/Desktop" && mkdir "$user/Desktop"; fi
  done
}
