#!/bin/sh
# Starts the real program on a virtual X display, passes the password gate
# with the default password, waits for the frame (the case list opens by
# itself inside it) and saves a screenshot of the screen as a PNG for review.
# Usage: scripts/screenshot.sh [program] [output.png]
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
PROGRAM="$(realpath "${1:-$ROOT/build/bin/lanvik}")"
OUT="$(realpath -m "${2:-$ROOT/build/screenshot.png}")"

if [ -z "${LV_SCREENSHOT_INNER:-}" ]; then
  export LV_SCREENSHOT_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$PROGRAM" "$OUT"
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
# The settings file of this run stays in the scratch folder.
export XDG_CONFIG_HOME="$WORK/config"

"$PROGRAM" >"$WORK/program.log" 2>&1 &
PID=$!

wait_for() {
  xdotool search --sync --onlyvisible --name "$1" >/dev/null 2>&1 &
  W=$!
  i=0
  while kill -0 "$W" 2>/dev/null; do
    i=$((i + 1))
    if [ "$i" -gt 150 ]; then
      kill "$W" 2>/dev/null || true
      return 1
    fi
    sleep 0.1
  done
  return 0
}

status=0
if wait_for "Please enter your password"; then
  xdotool search --onlyvisible --name "Please enter your password" windowfocus --sync 2>/dev/null || true
  xdotool type --delay 30 vimbro
  xdotool key Return
  if wait_for "An easy way to do your billing"; then
    # The case list is a child window of the frame; give it time to draw.
    sleep 2
  else
    echo "screenshot: the frame did not open" >&2
    status=1
  fi
else
  echo "screenshot: the password window did not open" >&2
  status=1
fi
import -window root "$OUT"
echo "screenshot: $OUT"
kill "$PID" 2>/dev/null || true
wait "$PID" 2>/dev/null || true
exit "$status"
