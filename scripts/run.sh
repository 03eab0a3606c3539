#!/usr/bin/env bash
# Runs the program: installs what is missing, builds the product (the i686 program, or its
# x86_64 twin where this machine cannot run 32-bit code, which it says) and starts it under
# Wine with the given arguments (default "/s", the saver, full screen) on $DISPLAY; with --x11
# first, the XScreenSaver hack natively instead (see that branch below).
# Without a display it runs on a private Xvfb screen instead: the saver is recorded for a few
# seconds as an animated GIF and then ended with a key press; other modes leave a screenshot.
# FQ_BUILD_ROOT puts the build elsewhere (default: build/ in this checkout).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

build_root="$(realpath -m "${FQ_BUILD_ROOT:-build}")"

# --x11 [hack options]: the XScreenSaver hack, built natively, in a window of its own on
# $DISPLAY (default --window). Without a display it draws on the root window of a private
# 960x540 Xvfb screen (default --root) for a few seconds, saved as build/hack.gif.
if [[ ${1:-} == --x11 ]]; then
  shift
  cmake --preset native -B "$build_root/native" >/dev/null
  cmake --build "$build_root/native" -j2 --target flyingquorlin
  hack="$build_root/native/flyingquorlin"
  if [[ -n ${DISPLAY:-} ]]; then
    exec "$hack" "${@:---window}"
  fi
  shots="$(mktemp -d)"
  Xvfb -displayfd 3 -screen 0 960x540x24 -nolisten tcp 3>"$shots/display" 2>/dev/null &
  xvfb=$!
  trap 'kill "${hack_pid:-}" "$xvfb" 2>/dev/null; rm -rf "$shots"' EXIT
  while [[ ! -s $shots/display ]]; do sleep 0.1; done
  export DISPLAY=":$(head -n1 "$shots/display")"
  "$hack" "${@:---root}" &
  hack_pid=$!
  sleep 1
  frames=$((${FQ_RUN_SECONDS:-5} * 20))
  start_ns=$(date +%s%N)
  for frame in $(seq -w 1 "$frames"); do xwd -root -silent >"$shots/$frame.xwd"; done
  # Played at the speed the frames were taken (the delay is in hundredths of a second).
  delay=$((($(date +%s%N) - start_ns) / frames / 10000000))
  convert -delay "$delay" -loop 0 "$shots"/*.xwd -layers Optimize "$build_root/hack.gif"
  echo "No display: recorded flyingquorlin ${*:---root} on Xvfb; animated GIF: $build_root/hack.gif"
  exit 0
fi
# The product runs under 32-bit Wine in the same 64-bit prefix as everything else.
if bash scripts/runs-32bit-code.sh; then
  preset=win32 wine=/usr/lib/wine/wine
  echo "Running the product, the i686 FlyingQuorlin.scr, under 32-bit Wine."
else
  preset=win64 wine=/usr/lib/wine/wine64
  echo "This machine cannot run 32-bit code: running the x86_64 FlyingQuorlin.scr instead."
fi
program="$build_root/$preset/FlyingQuorlin.scr"
arguments=("${@:-/s}")

export WINEPREFIX="$build_root/run-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

build_program() {
  cmake --preset "$preset" -B "$build_root/$preset"
  cmake --build "$build_root/$preset" -j "${FQ_BUILD_JOBS:-$(nproc)}" --target FlyingQuorlin
}

# The first use of a prefix sets it up (~15 s); done apart so that the program starts at once.
prepare_prefix() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Setting up the Wine prefix $WINEPREFIX ..."
    /usr/lib/wine/wine64 wineboot -i
    /usr/lib/wine/wineserver -w
  fi
}

run_on_display() {
  echo "Starting FlyingQuorlin.scr ${arguments[*]} on $DISPLAY"
  "$wine" "$program" "${arguments[@]}"
}

# Saver mode, as the program itself reads its switch: trimmed, upper-cased, first two letters.
saver_mode() {
  local mode="${arguments[0]#"${arguments[0]%%[! ]*}"}"
  [[ "${mode:0:2}" == [/][sS] ]]
}

# Records the running saver as an animated GIF (about 20 frames a second, played at the speed
# they were taken), then ends the saver with a key press, as a user would.
record_saver() {
  local gif="$build_root/saver.gif" frames start_ns end_ns count=0 delay
  frames="$(mktemp -d)"
  for _ in $(seq 300); do
    xwininfo -root -tree | grep -q '"Animation Code"' && break
    sleep 0.1
  done
  sleep 1  # the sprites are on their way
  start_ns=$(date +%s%N)
  end_ns=$((start_ns + ${FQ_RUN_SECONDS:-5} * 1000000000))
  while (($(date +%s%N) < end_ns)); do
    xwd -root -silent >"$frames/$(printf '%04d' "$count").xwd"
    count=$((count + 1))
    sleep 0.03
  done
  delay=$((($(date +%s%N) - start_ns) / count / 10000000))
  xdotool key space
  for _ in $(seq 100); do
    pgrep -f "^$program" >/dev/null || break
    sleep 0.1
  done
  if pgrep -f "^$program" >/dev/null; then
    echo "The saver did not end on the key press; it is stopped with Wine." >&2
  else
    echo "The saver ended on the key press."
  fi
  echo "Writing $count frames to $gif ..."
  convert -delay "$delay" -loop 0 "$frames"/*.xwd -layers Optimize "$gif"
  rm -rf "$frames"
  echo "No display: recorded FlyingQuorlin.scr ${arguments[*]} on Xvfb; animated GIF: $gif"
}

# No screen to show it on: run it on Xvfb, record or photograph the screen, then end it.
run_headless() {
  # display_file and xvfb_pid stay global: the EXIT trap reads them after this returns.
  local screenshot="$build_root/run-screenshot.png" screen="1920x1080x24"
  # Half size for the saver keeps the GIF small and the sprites at their real size.
  saver_mode && screen="960x540x24"
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$display_file" &
  xvfb_pid=$!
  trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k || true; kill "$xvfb_pid" 2>/dev/null || true; rm -f "$display_file"' EXIT
  while [[ ! -s "$display_file" ]]; do sleep 0.1; done
  export DISPLAY=":$(head -n1 "$display_file")"
  prepare_prefix
  "$wine" "$program" "${arguments[@]}" &
  if saver_mode; then
    record_saver
    return
  fi
  sleep "${FQ_RUN_SECONDS:-5}"
  import -window root "$screenshot"
  echo "No display: ran FlyingQuorlin.scr ${arguments[*]} on Xvfb; screenshot: $screenshot"
}

build_program
if [[ -n "${DISPLAY:-}" ]]; then
  prepare_prefix
  run_on_display
else
  run_headless
fi
