#!/usr/bin/env bash
# Unsaved work survives kill -9: the real program, on a virtual display with an empty home,
# keeps a copy of what was typed; killed and started again it offers the copy, and Restore
# brings the text back under its file's name, modified, so that Exit asks and Yes saves it
# there. Discard throws a copy away, and a second running program never offers the first
# one's copy.
set -euo pipefail
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config
unset QT_QPA_PLATFORM XDG_STATE_HOME
# In sanitizer builds, leaks inside system libraries are not ours to report.
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp

desktop=$(cd "$(dirname "$0")/../support" && pwd)/virtual_desktop.sh
. "$desktop"

run_on_virtual_display '
  set -euo pipefail
  program=$1
  . "$2"
  wait_for_display
  recovery=$HOME/.local/state/Pagewick/recovery
  page=$HOME/page.html
  printf "<P>old</P>\r\n" >"$page"

  fail() { echo "FAILED: $*"; cat "$HOME"/*.log 2>/dev/null || true; exit 1; }
  # Sets `found` to the first window whose whole title is $1, waiting up to $2 tenths.
  wait_for_title() {
    found=""
    for _ in $(seq 1 "${2:-300}"); do
      found=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1 || true)
      [ -n "$found" ] && return 0
      sleep 0.1
    done
    return 1
  }
  copies() { find "$recovery" -name document -type f 2>/dev/null | sort; }
  # Types into the window until a recovery copy holds the text (keys may arrive before
  # the window takes them on a busy machine).
  type_until_kept() {
    local window=$1 text=$2
    for _ in 1 2 3; do
      xdotool windowfocus --sync "$window" 2>/dev/null || true
      sleep 0.3
      xdotool type --delay 30 "$text" 2>/dev/null || true
      for _ in $(seq 1 80); do
        local kept
        kept=$(copies)
        if [ -n "$kept" ] && grep -qs -- "$text" $kept; then return 0; fi
        sleep 0.1
      done
    done
    return 1
  }
  press_in() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    sleep 0.3
    xdotool key --clearmodifiers "$2"
  }
  wait_gone() {
    for _ in $(seq 1 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    return 1
  }

  # 1. Typing is kept; kill -9; the next start restores it under its name; Save writes it.
  "$program" "$page" >"$HOME/run1.log" 2>&1 &
  pid=$!
  wait_for_title "Pagewick - $page" || fail "the page did not open"
  type_until_kept "$found" "kept-words " || fail "no recovery copy was written"
  kill -9 "$pid"; wait "$pid" 2>/dev/null || true
  [ "$(copies | wc -l)" -eq 1 ] || fail "the killed run left no copy"

  "$program" >"$HOME/run2.log" 2>&1 &
  pid=$!
  wait_for_title "Recover Unsaved Work" || fail "the copy was not offered"
  press_in "$found" alt+r
  wait_for_title "Pagewick - $page" 100 || fail "the restored text did not come back under its name"
  main=$found
  # Modified: Exit asks, and Yes saves where the file was.
  press_in "$main" alt+f; sleep 0.3; xdotool key x
  wait_for_title "Save on Open..." 100 || fail "the restored document was not modified"
  press_in "$found" alt+y
  wait_gone "$pid" || fail "the program did not exit"
  wait "$pid" || fail "the program failed"
  grep -q "kept-words <P>old</P>" "$page" || { cat "$page"; fail "Save did not write the text"; }
  [ -z "$(copies)" ] || fail "a copy remained after the save"
  [ -z "$(ls "$recovery")" ] || fail "a normal exit left its folder: $(ls "$recovery")"
  echo "ok: restored after kill -9, saved, nothing left"

  # 2. Discard removes the copy and writes nothing.
  saved=$(sha256sum "$page")
  "$program" "$page" >"$HOME/run3.log" 2>&1 &
  pid=$!
  wait_for_title "Pagewick - $page" || fail "the page did not open"
  type_until_kept "$found" "thrown-away " || fail "no recovery copy was written"
  kill -9 "$pid"; wait "$pid" 2>/dev/null || true
  "$program" >"$HOME/run4.log" 2>&1 &
  pid=$!
  wait_for_title "Recover Unsaved Work" || fail "the copy was not offered"
  press_in "$found" alt+d
  wait_for_main_window "$pid" "$HOME/run4.log"
  sleep 0.5
  xdotool search --name "^Recover Unsaved Work\$" >/dev/null 2>&1 && fail "the dialog stayed"
  [ -z "$(copies)" ] || fail "Discard left the copy"
  leave_through_file_exit "$pid" "$window"
  [ "$(sha256sum "$page")" = "$saved" ] || fail "Discard changed the file"
  echo "ok: discarded"

  # 3. A second running program does not take the first one'"'"'s copy.
  "$program" "$page" >"$HOME/run5.log" 2>&1 &
  first=$!
  wait_for_title "Pagewick - $page" || fail "the page did not open"
  type_until_kept "$found" "still-mine " || fail "no recovery copy was written"
  kept=$(copies)
  "$program" >"$HOME/run6.log" 2>&1 &
  second=$!
  wait_for_main_window "$second" "$HOME/run6.log"
  sleep 2
  xdotool search --name "^Recover Unsaved Work\$" >/dev/null 2>&1 \
    && fail "the second program offered the first one'"'"'s copy"
  leave_through_file_exit "$second" "$window"
  [ "$(copies)" = "$kept" ] || fail "the second program took the first one'"'"'s copy"
  kill -9 "$first"; wait "$first" 2>/dev/null || true
  echo "ok: a running program keeps its copy to itself"
' "$program" "$desktop"
