# Sourced: the environment in which Zirn and its tests run under Wine.
# Japanese code page 932 through a private compiled ja_JP.UTF-8 locale, a
# private prefix, no Mono/Gecko prompts, quiet logs.
zirn_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ZIRN_WINE_HOME="${ZIRN_WINE_HOME:-$zirn_root/build/wine}"
export WINEPREFIX="${WINEPREFIX:-$ZIRN_WINE_HOME/prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml="
export LOCPATH="$ZIRN_WINE_HOME/locale"
# The machine may have no compiled Japanese locale; compile a private one once.
if [[ ! -d "$LOCPATH/ja_JP.UTF-8" ]]; then
  mkdir -p "$LOCPATH"
  LC_ALL=C localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" >/dev/null 2>&1 || true
fi
export LANG=ja_JP.UTF-8
# The shell that sources this took its C library's environment when it
# started, so it does not see LOCPATH and would warn that it cannot switch to
# the locale; it does not need to. Every program started from here sees
# LOCPATH and switches quietly.
export LC_ALL=ja_JP.UTF-8 2>/dev/null
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
