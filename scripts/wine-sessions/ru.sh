# A Russian system: Wine takes the ANSI code page (Windows-1251) from the glibc
# locale, which is generated into the session's folder the first time (the
# machine needs only Debian's locale sources, not a system-wide locale).
locale_dir="$session/locale"
if [ ! -f "$locale_dir/ru_RU.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$locale_dir"
  rm -rf "$locale_dir/ru_RU.UTF-8.new"
  localedef -i ru_RU -f UTF-8 "$locale_dir/ru_RU.UTF-8.new" >&2 || { echo "wine-run: cannot make the ru_RU locale" >&2; exit 1; }
  rm -rf "$locale_dir/ru_RU.UTF-8"
  mv "$locale_dir/ru_RU.UTF-8.new" "$locale_dir/ru_RU.UTF-8"
fi
export LOCPATH="$locale_dir"
# The shell itself cannot switch to a locale it did not start with; only Wine needs it.
{ export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8; } 2>/dev/null
