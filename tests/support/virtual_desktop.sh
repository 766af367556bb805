# Shell routines for tests that run the real program on a virtual display as a user would.
# Sourced by the scripts in tests/e2e and tests/install, outside and inside the display.

# Runs `bash -c SCRIPT _ ARGS...` on a new virtual display. A display that refuses the
# program's connection (seen now and then on a loaded machine: "could not connect to
# display") is the display's fault, not the program's: such a run is tried again on a new
# display, up to three times in all. The run's output is printed; the status is the run's.
run_on_virtual_display() {
  local script=$1 attempt output
  shift
  for attempt in 1 2 3; do
    if output=$(xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x900x24" \
        bash -c "$script" _ "$@" 2>&1); then
      printf '%s\n' "$output"
      return 0
    fi
    printf '%s\n' "$output"
    if [ "$attempt" -eq 3 ] || ! grep -q "could not connect to display" <<<"$output"; then
      return 1
    fi
    echo "the virtual display refused the program; trying again on another"
  done
}

# On a busy machine the server may take a moment to accept clients.
wait_for_display() {
  for _ in $(seq 1 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
}

# Sets `window` to the main window of the program started as PID, showing a new page; fails
# with the program's output (in LOG) when it does not appear.
wait_for_main_window() {
  local pid=$1 log=$2
  window=""
  for _ in $(seq 1 300); do
    window=$(xdotool search --name "^Pagewick - Untitled.html$" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  echo "main window did not appear"; cat "$log"; kill "$pid" || true
  return 1
}

# No window manager runs here: focus the window and leave through File, Exit. On a busy
# machine keys may arrive before the window takes them (a stray "x" then lands in the text
# and the closing prompt asks to save), so try a few times and answer No.
leave_through_file_exit() {
  local pid=$1 window=$2 prompt
  for _ in 1 2 3 4 5; do
    prompt=$(xdotool search --name "^Save on Open...$" 2>/dev/null | head -n1 || true)
    if [ -n "$prompt" ]; then
      xdotool windowfocus --sync "$prompt" 2>/dev/null || true
      sleep 0.3
      xdotool key --clearmodifiers alt+n 2>/dev/null || true
    else
      xdotool windowfocus --sync "$window" 2>/dev/null || true
      sleep 0.3
      xdotool key --clearmodifiers alt+f 2>/dev/null || true
      sleep 0.3
      xdotool key x 2>/dev/null || true
    fi
    for _ in $(seq 1 30); do
      kill -0 "$pid" 2>/dev/null || break 2
      sleep 0.1
    done
  done
  if kill -0 "$pid" 2>/dev/null; then echo "program did not exit"; kill "$pid"; return 1; fi
  wait "$pid"
}
