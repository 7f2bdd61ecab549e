#!/bin/sh
# Starts the real program on a virtual X display under a window manager
# (openbox, when installed), passes the password gate with the default
# password and saves pictures of the screen as PNG files for review:
#   OUT              the frame, with the case list it opens by itself;
#   OUT-box21.png    "BOX 21", opened from the form of a new case;
#   OUT-form.png     that case form once "BOX 21" has closed: in front of the
#                    case list, with the focus.
# The user the end-to-end test preloads into the program (built with the
# tests, tests/app/e2e/driver) works the windows and takes the pictures;
# without it only the first picture is taken, with xdotool.
# Usage: scripts/screenshot.sh [program] [OUT, a .png file]
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
PROGRAM="$(realpath "${1:-$ROOT/build/bin/lanvik}")"
OUT="$(realpath -m "${2:-$ROOT/build/screenshot.png}")"

if [ -z "${LV_SCREENSHOT_INNER:-}" ]; then
  export LV_SCREENSHOT_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$PROGRAM" "$OUT"
fi

WORK="$(mktemp -d)"
WM=""
cleanup() {
  [ -n "$WM" ] && kill "$WM" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK"
# The settings file of this run stays in the scratch folder.
export XDG_CONFIG_HOME="$WORK/config"

if command -v openbox >/dev/null; then
  openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
  WM=$!
  i=0
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
    i=$((i + 1))
    [ "$i" -gt 50 ] && { echo "screenshot: the window manager did not start" >&2; break; }
    sleep 0.1
  done
fi

BASE="${OUT%.png}"
DRIVER="$(dirname "$PROGRAM")/../tests/app/e2e/driver/liblv_e2e_driver.so"
if [ -f "$DRIVER" ]; then
  FORM="Record Will Be Added"
  STEPS="gate:vimbro;frame;subwindow:CASE FILE;pause:1500;shot:$OUT"
  # "&CREATE NEW CASE" (14); the form's "CJA 20" tab (sheet 2, tab 5) and
  # "Click here to see your options" (61); "e x i t" (2) of BOX 21; the
  # form's "&Cancel" (9).
  STEPS="$STEPS;click:CASE FILE/14;subwindow:$FORM;tab:$FORM/2/5;click:$FORM/61;shown:BOX 21;pause:1000"
  STEPS="$STEPS;shot:$BASE-box21.png;click:BOX 21/2;closed:BOX 21;pause:1000;shot:$BASE-form.png"
  STEPS="$STEPS;click:$FORM/9;gone:$FORM;exit"
  status=0
  LD_PRELOAD="$(realpath "$DRIVER")" LV_E2E_STEPS="$STEPS" LV_E2E_REPORT="$WORK/report.txt" \
    ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=0" \
    timeout 120 "$PROGRAM" >"$WORK/program.log" 2>&1 || status=$?
  if grep -q "^FAIL" "$WORK/report.txt" 2>/dev/null || [ ! -f "$BASE-form.png" ]; then
    echo "screenshot: the windows were not all reached (exit $status):" >&2
    cat "$WORK/report.txt" >&2 2>/dev/null || true
    tail -n 20 "$WORK/program.log" >&2 || true
    exit 1
  fi
  for f in "$OUT" "$BASE-box21.png" "$BASE-form.png"; do echo "screenshot: $f"; done
  exit 0
fi

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
