# The installer's end-to-end tests: a 32-bit prefix of their own, since they
# install into program files and write the uninstall entry and shortcuts, and
# a second drive Q: (a folder of the session) to start the uninstallation from.
prepare_prefix() {
  mkdir -p "$session/drive-q"
  ln -sfn "$session/drive-q" "$WINEPREFIX/dosdevices/q:"
}
