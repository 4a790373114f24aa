#!/usr/bin/env bash
# Writes docs/windows-dialog.png, the README's picture of the dialog in a host without a
# dialog manager: Black Mist's window as scripts/windows/native-dialog.sh opens it under Wine.
#
#   scripts/windows/readme-screenshot.sh
#
# Builds dist/windows first when it is missing (scripts/build-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/packages.sh
ensure_packages "${windows_dialog_packages[@]}" wine64
[ -f dist/windows/ravo.exe ] || scripts/build-windows.sh
export WINEPREFIX="$(pwd)/build-win/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
[ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
mkdir -p docs
scripts/windows/native-dialog.sh dist/windows build-win/readme-screenshot --screenshot docs/windows-dialog.png BlackMist
echo "Picture: $(pwd)/docs/windows-dialog.png"
