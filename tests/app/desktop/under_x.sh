#!/bin/sh
# Runs a Qt test program on a virtual X display of its own (Xvfb), with no
# window manager or under openbox, as the program meets a user's desktop.
# Usage: under_x.sh none|openbox program [arguments...]
# Exits 77 (skipped) when Xvfb or the window manager is not installed.
set -eu
WM_NAME="$1"
shift
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 77; }
if [ "$WM_NAME" = openbox ]; then
  command -v openbox >/dev/null || { echo "openbox is not installed" >&2; exit 77; }
  command -v xprop >/dev/null || { echo "xprop is not installed" >&2; exit 77; }
fi

WORK="$(mktemp -d)"
XPID=""
WPID=""
cleanup() {
  [ -n "$WPID" ] && kill "$WPID" 2>/dev/null || true
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XPID=$!
i=0
until [ -s "$WORK/display" ]; do
  i=$((i + 1))
  [ "$i" -gt 100 ] && { echo "Xvfb did not start:" >&2; cat "$WORK/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
DISPLAY=":$(tr -d '\n' <"$WORK/display")"
export DISPLAY

if [ "$WM_NAME" = openbox ]; then
  openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
  WPID=$!
  i=0
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
    i=$((i + 1))
    [ "$i" -gt 100 ] && { echo "openbox did not start:" >&2; cat "$WORK/openbox.log" >&2; exit 1; }
    sleep 0.1
  done
fi

QT_QPA_PLATFORM=xcb "$@"
