#!/usr/bin/env bash
# Installs the build under a DESTDIR and starts the installed editor on a virtual display
# with a private home, the build folder hidden (a mount namespace lays an empty folder over
# it). The program must read its template from share/pagewick beside its bin folder, open the
# user's guide from there (Help hands it to the browser, here a stand-in for xdg-open that
# notes its argument), and leave through File, Exit.
#   installed_program.sh CMAKE BUILD LSAN_SUPPRESSIONS
set -euo pipefail
cmake=$1 build=$(cd "$2" && pwd) suppressions=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/install_common.sh"
desktop=$(cd "$here/../support" && pwd)/virtual_desktop.sh
. "$desktop"

if [[ ${PAGEWICK_BUILD_HIDDEN:-} != yes ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  install_into "$work/stage"
  # Root lays the empty folder in a mount namespace of its own; anyone else needs a user
  # namespace for it.
  hide=(unshare --mount)
  [[ $(id -u) -eq 0 ]] || hide=(unshare --mount --map-root-user)
  if ! "${hide[@]}" true 2>/dev/null; then
    echo "SKIP: the build folder cannot be hidden (no mount namespace for this user)"
    exit 77
  fi
  PAGEWICK_BUILD_HIDDEN=yes "${hide[@]}" bash -c \
    'mount -t tmpfs -o size=1m pagewick-hidden "$3" && cd "$5" && exec "$@"' \
    _ "$here/$(basename "$0")" "$cmake" "$build" "$suppressions" "$work"
  exit
fi

# From here on the build folder is empty.
work=$4
[[ -z $(ls -A "$build") ]] || fail "the build folder is still visible"
prefix=$work/stage/usr
home=$work/home
mkdir -p "$home/bin"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
unset QT_QPA_PLATFORM
export LSAN_OPTIONS=suppressions=$suppressions
# The leak checker cannot work under strace; a sanitizer build's leaks are the e2e test's.
if grep -q 'NEEDED.*libasan' <<<"$(readelf -d "$prefix/bin/pagewick")"; then
  export ASAN_OPTIONS=detect_leaks=0
fi
# The stand-in browser notes the file it was given.
cat >"$home/bin/xdg-open" <<'SH'
#!/bin/sh
printf '%s\n' "$1" >"$HOME/opened"
SH
chmod +x "$home/bin/xdg-open"
export PATH=$home/bin:$PATH

run_on_virtual_display '
  set -euo pipefail
  . "$2"
  wait_for_display
  rm -f "$HOME/opened" "$HOME/trace"
  # Every file the program opens is noted, to see where its program files came from.
  strace -f -qq -e trace=openat -o "$HOME/trace" "$1" >"$HOME/out.log" 2>&1 &
  pid=$!
  wait_for_main_window $pid "$HOME/out.log"
  echo "main window after ${SECONDS}s"
  sleep 1
  # Help, Search For Help On...: the browser chooser; its first button starts the browser.
  for _ in 1 2 3 4 5; do
    chooser=$(xdotool search --name "^External Browser$" 2>/dev/null | head -n1 || true)
    if [ -n "$chooser" ]; then
      xdotool windowfocus --sync "$chooser" 2>/dev/null || true
      sleep 0.3
      xdotool key --clearmodifiers space 2>/dev/null || true
    else
      xdotool windowfocus --sync "$window" 2>/dev/null || true
      sleep 0.3
      xdotool key --clearmodifiers alt+h 2>/dev/null || true
      sleep 0.3
      xdotool key s 2>/dev/null || true
    fi
    for _ in $(seq 1 20); do
      [ -s "$HOME/opened" ] && break 2
      sleep 0.1
    done
  done
  echo "guide handed to the browser after ${SECONDS}s"
  # No window manager runs here: leave through File, Exit, answering No to a save prompt.
  leave_through_file_exit $pid "$window"
  echo "program left after ${SECONDS}s"
' "$prefix/bin/pagewick" "$desktop" || exit 1

# Opened successfully (a file descriptor came back) from the installed program files.
opened_from_install() {
  grep -Eq "openat\(AT_FDCWD, \"$prefix/share/pagewick/$1\", [^)]*\) = [0-9]+\$" "$home/trace"
}
opened_from_install Template.html || fail "the template was not read from $prefix/share/pagewick"
opened_from_install Pagewick_Logo.gif || fail "the logo was not read from $prefix/share/pagewick"
[[ -s "$home/opened" ]] || fail "Help did not open the user's guide"
[[ $(cat "$home/opened") == "$prefix/share/pagewick/helpmain.html" ]] \
  || fail "Help opened $(cat "$home/opened"), not the installed guide"
# Nothing at all was looked for in the build folder.
! grep -q "\"$build/" "$home/trace" || fail "the program looked into the build folder: $(grep "\"$build/" "$home/trace" | head -3)"
[[ -f "$home/.config/Pagewick/Pagewick.conf" ]] || fail "the settings were not written to the private home"
echo "ok: the installed program read its template, logo and guide from $prefix/share/pagewick"
