# Sourced by the run and test scripts: an X display and a Wine server that are
# started here and stopped again when the calling script exits.

_session_xvfb_pid=""
_session_prefixes=()

session_stop() {
  local p
  for p in "${_session_prefixes[@]}"; do
    WINEPREFIX="$p" wineserver -k >/dev/null 2>&1 || true
  done
  _session_prefixes=()
  if [ -n "$_session_xvfb_pid" ]; then
    kill "$_session_xvfb_pid" 2>/dev/null || true
    wait "$_session_xvfb_pid" 2>/dev/null || true
    _session_xvfb_pid=""
  fi
}

# A private X display on Xvfb; sets DISPLAY.
session_start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  _session_xvfb_pid=$!
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

# A persistent wineserver for PREFIX, so that each Wine process starts fast.
# A server already running for it is used as it is, and left running.
session_start_wine() {
  local prefix="$1"
  "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh" "$prefix"
  if WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 </dev/null; then
    _session_prefixes+=("$prefix")
  fi
}

trap session_stop EXIT
