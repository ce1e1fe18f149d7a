#!/usr/bin/env bash
# Runs a command (normally "program.exe args...") under Wine the way the
# Windows tests need it, and returns its exit status:
#  - a private Wine prefix under the state folder, set up once (wineboot -i,
#    then waiting for the wineserver, without which the running object table
#    of COM fails with 0x800706BA);
#  - unmanaged X11 windows (without Managed=N every window close waits ~2 s);
#  - no crash debugger: a crash ends the program with a non-zero status;
#  - the ANSI code page 1251, from a ru_RU.UTF-8 glibc locale generated into
#    the state folder (Wine takes the code page from the Unix locale only when
#    that locale exists);
#  - an Xvfb of its own on a free display.
#
# Usage: with-wine.sh [--state DIR] [--timeout SECONDS] COMMAND [ARGS...]
#   DIR defaults to build/wine below the current directory. A COMMAND ending
#   in .exe is started with wine; anything else is run as it stands, inside
#   the same environment (e.g. "wine reg query ..."). The command is killed
#   after SECONDS (default 240). Runs are serialised on a lock in DIR.
set -euo pipefail

state="$PWD/build/wine"
limit=240
while [[ $# -gt 0 ]]; do
  case "$1" in
    --state) state="$2"; shift 2 ;;
    --timeout) limit="$2"; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[[ $# -gt 0 ]] || { echo "usage: $0 [--state DIR] [--timeout S] COMMAND..." >&2; exit 2; }

for tool in wine wineserver wineboot Xvfb localedef flock timeout; do
  command -v "$tool" >/dev/null || { echo "with-wine.sh: $tool is not installed" >&2; exit 2; }
done

mkdir -p "$state"
state="$(cd "$state" && pwd)"
exec 9>"$state/lock"
flock 9

export WINEPREFIX="$state/prefix"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer during wineboot.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Code page 1251 through the Unix locale.
locales="$state/locale"
if [[ ! -e "$locales/ru_RU.UTF-8/LC_CTYPE" ]]; then
  mkdir -p "$locales"
  localedef -i ru_RU -f UTF-8 "$locales/ru_RU.UTF-8" >/dev/null 2>&1 ||
    [[ -e "$locales/ru_RU.UTF-8/LC_CTYPE" ]] ||
    { echo "with-wine.sh: localedef ru_RU.UTF-8 failed" >&2; exit 2; }
fi
unset LC_ALL LANGUAGE LANG
# Given to the Wine processes only: this shell cannot switch to the locale.
in_locale() { env LOCPATH="$locales" LC_CTYPE=ru_RU.UTF-8 "$@"; }

# An X server of our own on a free display.
xvfb_pid=""
stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap stop_all EXIT
display_file="$state/display"
rm -f "$display_file"
Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp 7>"$display_file" \
  >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s "$display_file" ]] && break
  sleep 0.05
done
[[ -s "$display_file" ]] || { echo "with-wine.sh: Xvfb did not start" >&2; exit 2; }
export DISPLAY=":$(tr -dc 0-9 <"$display_file")"

# The prefix, once.
if [[ ! -e "$state/prefix.ready" ]]; then
  rm -rf "$WINEPREFIX"
  in_locale timeout 300 wineboot -i >/dev/null 2>&1
  wineserver -w
  in_locale timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  in_locale timeout 60 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /d '' /f >/dev/null
  in_locale timeout 60 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Auto /d 1 /f >/dev/null
  wineserver -w
  touch "$state/prefix.ready"
fi

status=0
if [[ "$1" == *.exe || "$1" == *.EXE ]]; then
  in_locale timeout -k 5 "$limit" wine "$@" || status=$?
else
  in_locale timeout -k 5 "$limit" "$@" || status=$?
fi
exit "$status"
