#!/bin/bash
# Prepares the Wine prefix once: the Japanese locale, the prefix itself and the
# font substitutes that give the dialog fonts Japanese glyphs. Repeated runs
# only check that everything is there, Wine's Marlett font included.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

mkdir -p "$ZIRN_WINE_HOME"

if [[ ! -f "$WINEPREFIX/.zirn-ready" ]]; then
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >"$ZIRN_WINE_HOME/wineboot.log" 2>&1 || true
  "$WINESERVER" -w || true
  key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  for font in "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic" "System" "Tahoma" "MS Sans Serif" "Courier" "MS Gothic"; do
    "$WINE" reg add "$key" /v "$font" /t REG_SZ /d IPAGothic /f >>"$ZIRN_WINE_HOME/wineboot.log" 2>&1
  done
  "$WINESERVER" -w || true
  touch "$WINEPREFIX/.zirn-ready"
fi

# When Wine draws window frames itself (no window manager), the caption
# buttons are glyphs of its Marlett font (fonts-wine); this Wine looks for it
# only in the prefix's font folder, and without it shows "0 1 r".
fonts="$WINEPREFIX/drive_c/windows/Fonts"
marlett=/usr/share/wine/fonts/marlett.ttf
if [[ -f "$marlett" && ! -f "$fonts/marlett.ttf" ]]; then
  mkdir -p "$fonts"
  cp "$marlett" "$fonts/"
fi
