#!/usr/bin/env bash
# Checks the Windows plug-in's own dialog manager under Wine on a virtual X display: with
# the stand-in host's dialog manager withheld, `ravo.exe dialog` opens a real window that
# xdotool drives as a person would.
#  - every filter KEY given opens its window, 795 pixels wide at 96 DPI, with the preview
#    area showing the picture (many colours, not a blank face), and Escape cancels it
#    without writing the output;
#  - Black Mist: the Brightness slider clicked and sent to its end with the End key, then
#    Enter, writes what `ravo.exe apply --set glowBrightness=800` writes; the Cancel button
#    writes nothing; at 144 DPI its window is one and a half times as wide (1193 pixels);
#  - `ravo.exe about` opens the about box, 285 pixels wide, and Enter closes it.
#
#   scripts/windows/native-dialog.sh DIST WORK [--screenshot FILE.png] KEY...
#
# Expects WINEPREFIX and the other Wine settings in the environment (scripts/test-windows.sh
# sets them) and the packages of windows_dialog_packages (scripts/windows/packages.sh).
# Stops the Wine server of the prefix first. Prints one PASS or FAIL line a check; exits non-zero when one failed. With --screenshot
# it writes the picture of Black Mist's window as it opens (the README's picture).
set -uo pipefail
dist=$1 work=$2
shift 2
screenshot=
if [ "${1:-}" = --screenshot ]; then
  screenshot=$2
  shift 2
fi
wine=/usr/lib/wine/wine64
input=samples/coffee.png
mkdir -p "$work"

# Wine started without a display stays without one: its server stops first, so that it
# starts again on the virtual display.
/usr/lib/wine/wineserver -k 2>/dev/null
# A private virtual display on a free number (Xvfb picks it), gone when the script ends.
rm -f "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$work/display")
dialog_pid=
cleanup() {
  [ -n "$dialog_pid" ] && kill "$dialog_pid" 2>/dev/null
  kill "$xvfb" 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done

failed=0
pass() { echo "PASS $*"; }
fail() {
  echo "FAIL $*"
  failed=$((failed + 1))
}

# Starts the dialog of KEY writing OUTPUT; sets window to its X window once it shows.
open_dialog() {
  local key=$1 output=$2
  rm -f "$output"
  "$wine" "$dist/ravo.exe" dialog "$key" "$input" "$output" --withhold "ADM Basic Suite" \
    >"$work/$key.out" 2>&1 &
  dialog_pid=$!
  window=$(timeout 120 xdotool search --sync --onlyvisible --name '^Ravo ' 2>/dev/null | head -1)
  sleep 2  # the first preview is rendered after the window shows
}

# Waits for the dialog's process to end; its exit status.
close_dialog() {
  local status=0
  wait "$dialog_pid" || status=$?
  dialog_pid=
  return "$status"
}

cancelled() { tr -d '\r' <"$work/$1.out" | grep -q "cancelled in the dialog; nothing written"; }
window_picture() { xwd -id "$window" -silent | xwdtopnm 2>/dev/null; }

for key in "$@"; do
  open_dialog "$key" "$work/$key-escape.png"
  if [ -z "$window" ]; then
    fail "native dialog $key: no window opened"
    kill "$dialog_pid" 2>/dev/null
    close_dialog
    continue
  fi
  width=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
  window_picture >"$work/$key-window.pnm"
  # The preview lies at (5, 5) to (485, 355). A blank face has a colour or two; a grey or
  # tinted picture (Black and White, Matte Generator) a couple of hundred.
  colours=$(pnmcut -left 5 -top 5 -width 480 -height 350 "$work/$key-window.pnm" | ppmhist -noheader | wc -l)
  if [ "$key" = BlackMist ] && [ -n "$screenshot" ]; then pnmtopng "$work/$key-window.pnm" >"$screenshot"; fi
  xdotool key --window "$window" Escape 2>/dev/null
  close_dialog
  status=$?
  if [ "$width" = 795 ] && [ "$colours" -gt 64 ] && [ "$status" != 0 ] && cancelled "$key" &&
     [ ! -e "$work/$key-escape.png" ]; then
    pass "native dialog $key"
  else
    fail "native dialog $key: width $width, $colours colours in the preview, exit $status after Escape" \
      "$([ -e "$work/$key-escape.png" ] && echo ', output written')"
  fi
done

if [[ " $* " == *" BlackMist "* ]]; then
  "$wine" "$dist/ravo.exe" apply BlackMist "$input" "$work/BlackMist-apply.png" --set glowBrightness=800 >/dev/null 2>&1
  open_dialog BlackMist "$work/BlackMist-ok.png"
  # A click in the Brightness slider's channel gives it the focus; End sends it to 800.
  xdotool mousemove --window "$window" 600 156 click 1 2>/dev/null
  sleep 1
  xdotool key --window "$window" End 2>/dev/null
  sleep 2
  xdotool key --window "$window" Return 2>/dev/null
  if close_dialog && cmp -s "$work/BlackMist-ok.png" "$work/BlackMist-apply.png"; then
    pass "native dialog BlackMist: slider and Enter give apply's output"
  else
    fail "native dialog BlackMist: slider and Enter do not give apply's output"
  fi

  open_dialog BlackMist "$work/BlackMist-cancel.png"
  # The Cancel button: 59 wide, left of OK's 54 at the bottom right.
  height=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  xdotool mousemove --window "$window" 700 $((height - 14)) click 1 2>/dev/null
  if ! close_dialog && cancelled BlackMist && [ ! -e "$work/BlackMist-cancel.png" ]; then
    pass "native dialog BlackMist: Cancel writes nothing"
  else
    fail "native dialog BlackMist: Cancel wrote the output or did not cancel"
  fi
fi

if [[ " $* " == *" BlackAndWhite "* ]]; then
  "$wine" "$dist/ravo.exe" about --withhold "ADM Basic Suite" >"$work/about.out" 2>&1 &
  dialog_pid=$!
  window=$(timeout 120 xdotool search --sync --onlyvisible --name '^About Ravo$' 2>/dev/null | head -1)
  width=$(xdotool getwindowgeometry "$window" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
  xdotool key --window "$window" Return 2>/dev/null
  if [ -n "$window" ] && close_dialog && [ "$width" = 285 ]; then
    pass "native about box"
  else
    kill "$dialog_pid" 2>/dev/null
    fail "native about box: window ${window:-not shown}, width ${width:-none}"
  fi
fi

# The layout follows the DPI: Wine's screen set to 144 DPI for one run, then back to 96.
set_dpi() {
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -k 2>/dev/null
}
if [[ " $* " == *" BlackMist "* ]]; then
  set_dpi 144
  open_dialog BlackMist "$work/BlackMist-dpi.png"
  width=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
  xdotool key --window "$window" Escape 2>/dev/null
  close_dialog
  set_dpi 96
  if [ "$width" = 1193 ]; then
    pass "native dialog BlackMist at 144 DPI"
  else
    fail "native dialog BlackMist at 144 DPI: width $width, not 1193"
  fi
fi
[ "$failed" = 0 ]
