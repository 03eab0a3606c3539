#!/usr/bin/env bash
# Benchmarks, apart from the tests: the native frame-step benchmark, then under Wine on a
# 1920x1080 Xvfb screen the drawing time of the real frame step against a bare loop of the same
# blits, the frame period at Speed 25 and 5 beside Speed plus the frame's work (with the
# high-resolution timer and without), and the processor share of the running saver at Speed 25 against a paced bare loop;
# then the program files' sizes, and the start-up time and private memory of the saver
# against a bare window; each for the x86_64 build and, where 32-bit code runs, the i686 one,
# each under its own Wine.
# Then the drawing time and processor share of the XScreenSaver hack on the X11 port, natively,
# and the Wayland client's figures under a headless sway and a headless gnome-shell
# (bench/wayland/run_under_sway.py, run_under_gnome.py).
# Then a dense screen: 3840x2160 at 192 dpi (Wine's LogPixels, in a prefix of its own), where the
# Windows programs take k = 2 from the DPI as the saver does; the drawing time, processor share
# and private memory again.
# Last, two monitors (Xephyr's two screens inside an Xvfb): 1920x1080 beside 1280x720 at 96 dpi,
# then two 3840x2160 at 192 dpi; the same three figures, the frame step and the bare loop
# drawing on both.
# Usage: scripts/bench.sh [seconds per processor-share sample, default 20] [dense | monitors]
# "dense" measures the dense screen alone, "monitors" the two monitors alone.
# FQ_BUILD_ROOT puts the builds elsewhere (default: build/ in this checkout).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

sample_seconds=${1:-20}
part=${2:-all}
[[ $part == @(all|dense|monitors) ]] || { echo "usage: $0 [seconds] [dense | monitors]" >&2; exit 2; }
warm_up_seconds=3
build_root="$(realpath -m "${FQ_BUILD_ROOT:-build}")"
# The bench presets: the programs as the win32, win64 and native presets build them, and the
# benchmarks beside them.
native_dir=$build_root/bench
win64_dir=$build_root/bench-win64
win32_dir=$build_root/bench-win32
plain_prefix=$build_root/bench-prefix
dense_prefix=$build_root/bench-prefix-192dpi
export WINEPREFIX=$plain_prefix
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
wineserver=/usr/lib/wine/wineserver
settings_key='HKCU\Software\VB and VBA Program Settings\FlyingQuorlinSaver\Settings'

measure_i686=0
bash scripts/runs-32bit-code.sh && measure_i686=1
windows_presets=(bench-win64)
((measure_i686)) && windows_presets+=(bench-win32)
[[ $part == all ]] && windows_presets=(bench-win64 bench-win32)

echo "== Building"
if [[ $part == all ]]; then
  cmake --preset bench -B "$native_dir" >/dev/null
  cmake --build "$native_dir" -j2 --target fq_frame_step_bench
fi
for preset in "${windows_presets[@]}"; do
  cmake --preset "$preset" -B "$build_root/$preset" >/dev/null
  cmake --build "$build_root/$preset" -j2 --target FlyingQuorlin fq_win32_bench fq_bare_window
done

case $part in
  all) screens="1920x1080x24, then 3840x2160x24 at 192 dpi, then two monitors" ;;
  dense) screens="3840x2160x24 at 192 dpi" ;;
  monitors) screens="two monitors: 1920x1080 and 1280x720, then two 3840x2160 at 192 dpi" ;;
esac
echo "== Machine"
echo "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores" \
  "available, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$($wine --version), Xvfb $screens"
((measure_i686)) || echo "This machine cannot run 32-bit code: the i686 build is not measured"

if [[ $part == all ]]; then
  echo "== Native frame step (fake platform)"
  "$native_dir/bench/fq_frame_step_bench"
fi

scratch=$(mktemp -d)
# This run's X servers, the one the programs draw on first.
x_pids=()
# Ends this run's wineserver and X servers, in that order.
end_screen() {
  local pid
  "$wineserver" -k 2>/dev/null || true
  for pid in "${x_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  x_pids=()
}
cleanup() {
  end_screen
  rm -rf "$scratch"
}
trap cleanup EXIT

# Starts an X server whose display number it writes to `folder`/display, and makes it this
# run's display.
start_x_server() {
  local folder=$1
  shift
  mkdir -p "$folder"
  "$@" -displayfd 3 -nolisten tcp 3>"$folder/display" >/dev/null 2>&1 &
  x_pids=("$!" "${x_pids[@]}")
  for _ in $(seq 100); do [[ -s $folder/display ]] && break; sleep 0.1; done
  export DISPLAY=:$(<"$folder/display")
}

# A private Xvfb screen of `size` pixels, 24 bits, and the Wine prefix's server kept up beside
# it for the whole run, so that each start below costs a fraction of a second. -fbdir: the
# screen is also a file (Xvfb_screen0 in `folder`), which the start-up figures poll.
start_screen() {
  local size=$1 folder=$2
  start_x_server "$folder" Xvfb -screen 0 "${size}x24" -fbdir "$folder"
  start_wine
}

# Two monitors side by side, `first` the primary: Wine sees several monitors only through
# Xinerama, so Xephyr shows two screens in windows on an Xvfb large enough for both, with
# RANDR off. The programs draw on Xephyr, which copies to the Xvfb.
start_two_monitors() {
  local first=$1 second=$2 folder=$3
  local width=$((${first%x*} + ${second%x*}))
  local height=$((${first#*x} > ${second#*x} ? ${first#*x} : ${second#*x}))
  start_x_server "$folder/host" Xvfb -screen 0 "${width}x${height}x24"
  start_x_server "$folder" Xephyr -screen "$first" -screen "$second" +xinerama \
    -extension RANDR -noreset
  start_wine
}

start_wine() {
  mkdir -p "$WINEPREFIX"
  "$wineserver" -p
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    "$wine" wineboot -i >/dev/null 2>&1
  fi
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
}

# Runs `function arch runner build-dir [arguments]` for the x86_64 build and, where 32-bit code
# runs, the i686 one.
each_build() {
  local function=$1
  shift
  "$function" x86_64 "$wine" "$win64_dir" "$@"
  if ((measure_i686)); then
    "$function" i686 "$wine32" "$win32_dir" "$@"
  fi
}

# The pid of the Windows program started from `path`, in this prefix.
program_pid() {
  local path=$1 pid
  for _ in $(seq 100); do
    for pid in $(pgrep -f "^$path" || true); do
      if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
        echo "$pid"
        return
      fi
    done
    sleep 0.1
  done
  echo "no process for $path" >&2
  return 1
}

# Waits until the process is gone (the Wine launcher may have left before it).
wait_gone() {
  while [[ -e /proc/$1 ]] && ! grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null; do
    sleep 0.2
  done
}

# Processor time (user + system, clock ticks) of a process so far.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Processor time of the X servers so far.
x_ticks() {
  local pid ticks=0
  for pid in "${x_pids[@]}"; do ticks=$((ticks + $(cpu_ticks "$pid"))); done
  echo "$ticks"
}

# Shares of one core, in percent, that the program and the X servers used over one sample:
# the program composes into Wine's copy of the window, the X server puts it on the screen
# (on two monitors, Xephyr and the Xvfb it shows in).
cpu_shares() {
  local pid=$1 before after x_before x_after hz
  hz=$(getconf CLK_TCK)
  sleep "$warm_up_seconds"
  before=$(cpu_ticks "$pid")
  x_before=$(x_ticks)
  sleep "$sample_seconds"
  after=$(cpu_ticks "$pid")
  x_after=$(x_ticks)
  awk -v d="$((after - before))" -v x="$((x_after - x_before))" -v hz="$hz" \
    -v s="$sample_seconds" \
    'BEGIN { printf "%6.2f %%   (X %.2f %%)", 100 * d / hz / s, 100 * x / hz / s }'
}

set_saver() {
  "$wine" reg add "$settings_key" /v Speed /t REG_SZ /d "$1" /f >/dev/null 2>&1
  "$wine" reg add "$settings_key" /v Count /t REG_SZ /d "$2" /f >/dev/null 2>&1
}

# Drawing time per frame and processor share of one build, under its own Wine; `screen` names
# the screen in the headings where it is not the first one.
drawing_and_share() {
  local arch=$1 runner=$2 dir=$3 screen=${4:+, $4} count launcher pid
  echo "== Drawing time per frame under Wine, $arch$screen"
  "$runner" "$dir/fq_win32_bench.exe"
  echo "== Frame period under Wine, $arch$screen"
  "$runner" "$dir/fq_win32_bench.exe" --periods
  "$runner" "$dir/fq_win32_bench.exe" --periods no-timer
  echo "== Processor share, $arch$screen, one core = 100%, over ${sample_seconds} s after" \
    "${warm_up_seconds} s"
  for count in 8 30; do
    set_saver 25 "$count"
    "$runner" "$dir/FlyingQuorlin.scr" /s &
    launcher=$!
    pid=$(program_pid "$dir/FlyingQuorlin.scr")
    printf '  %-40s %s\n' "saver, Speed 25, Count $count:" "$(cpu_shares "$pid")"
    kill "$pid"
    wait_gone "$pid"
    wait "$launcher" 2>/dev/null || true

    "$runner" "$dir/fq_win32_bench.exe" --paced $((warm_up_seconds + sample_seconds + 2)) \
      "$count" &
    launcher=$!
    pid=$(program_pid "$dir/fq_win32_bench.exe")
    printf '  %-40s %s\n' "bare blits, 25 ms pause, Count $count:" "$(cpu_shares "$pid")"
    wait_gone "$pid"
    wait "$launcher" 2>/dev/null || true
  done
}

# ---- Program files, start-up and private memory ----

program_files() {
  local file
  echo "== Program files: bytes per section (in memory / in the file)"
  for file in "$win32_dir/FlyingQuorlin.scr" "$win64_dir/FlyingQuorlin.scr"; do
    /usr/bin/python3 - "$file" <<'PYTHON'
import os, sys, pefile
path = sys.argv[1]
pe = pefile.PE(path, fast_load=True)
print(f"  {path}: {os.path.getsize(path):,} bytes")
for section in pe.sections:
    name = section.Name.rstrip(b"\0").decode()
    print(f"    {name:9} {section.Misc_VirtualSize:9,} {section.SizeOfRawData:9,}")
PYTHON
  done
}

startup_runs=7
screen_file=$scratch/Xvfb_screen0

# Seconds from starting a Windows program to the first pixel on the screen that is not black,
# comparing Xvfb's screen file with the black screen (about 10 ms a look); the program is
# ended afterwards and the screen left black again.
seconds_to_first_light() {
  local runner=$1 path=$2 start end pid launcher
  shift 2
  start=$EPOCHREALTIME
  "$runner" "$path" "$@" &
  launcher=$!
  while cmp -s "$screen_file" "$scratch/black.xwd"; do
    if ((${EPOCHREALTIME%.*} - ${start%.*} > 60)); then
      echo "nothing appeared from $path within 60 s" >&2
      return 1
    fi
  done
  end=$EPOCHREALTIME
  pid=$(program_pid "$path")
  kill "$pid"
  wait_gone "$pid"
  wait "$launcher" 2>/dev/null || true
  for _ in $(seq 100); do
    cmp -s "$screen_file" "$scratch/black.xwd" && break
    sleep 0.1
  done
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", e - s }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Anonymous resident memory of a running program after 5 s: what Wine reports as the
# process's private memory (PagefileUsage), read the way the soak does (docs/RELIABILITY.md).
private_kib() {
  local runner=$1 path=$2 pid launcher kib
  shift 2
  "$runner" "$path" "$@" &
  launcher=$!
  pid=$(program_pid "$path")
  sleep 5
  kib=$(awk '/^RssAnon:/ { print $2 }' "/proc/$pid/status")
  kill "$pid"
  wait_gone "$pid"
  wait "$launcher" 2>/dev/null || true
  echo "$kib"
}

startup_and_memory() {
  local arch=$1 runner=$2 dir=$3 saver=() bare=() _
  echo "== Start-up, $arch: seconds from process start to the first frame on the screen," \
    "median of $startup_runs (Speed 25, Count 8)"
  set_saver 25 8
  seconds_to_first_light "$runner" "$dir/FlyingQuorlin.scr" /s >/dev/null  # warms Wine's caches
  seconds_to_first_light "$runner" "$dir/fq_bare_window.exe" >/dev/null
  for _ in $(seq "$startup_runs"); do
    saver+=("$(seconds_to_first_light "$runner" "$dir/FlyingQuorlin.scr" /s)")
    bare+=("$(seconds_to_first_light "$runner" "$dir/fq_bare_window.exe")")
  done
  printf '  %-36s %s s   (runs: %s)\n' "saver:" "$(printf '%s\n' "${saver[@]}" | median)" \
    "${saver[*]}"
  printf '  %-36s %s s   (runs: %s)\n' "bare window, one paint:" \
    "$(printf '%s\n' "${bare[@]}" | median)" "${bare[*]}"
  private_memory "$arch" "$runner" "$dir" 1920x1080
}

# Private memory of the saver at Count 8 and at the soak's settings, and of the bare window;
# with the monitors' sizes, the target: their back buffers (32 bits a pixel) plus 6 MB.
private_memory() {
  local arch=$1 runner=$2 dir=$3 screen=$4 size bytes=6000000
  shift 4
  echo "== Private memory, $arch, $screen (anonymous resident, KiB)"
  if (($#)); then
    for size in "$@"; do bytes=$((bytes + ${size%x*} * ${size#*x} * 4)); done
    printf '  %-36s %s (%s bytes)\n' "target, back buffers + 6 MB:" "$((bytes / 1024))" "$bytes"
  fi
  set_saver 25 8
  printf '  %-36s %s\n' "saver, Speed 25, Count 8:" \
    "$(private_kib "$runner" "$dir/FlyingQuorlin.scr" /s)"
  set_saver 1 30
  printf '  %-36s %s\n' "saver, Speed 1, Count 30 (the soak):" \
    "$(private_kib "$runner" "$dir/FlyingQuorlin.scr" /s)"
  printf '  %-36s %s\n' "bare window:" "$(private_kib "$runner" "$dir/fq_bare_window.exe")"
}

# The XScreenSaver hack on the same Xvfb screen, natively: drawing time per frame of the real
# frame step on the X11 port against a bare loop of the same XCopyArea calls, then the
# processor share of the hack on the root window at Speed 25 against a paced bare loop.
x11_hack() {
  local count pid
  echo "== The X11 hack"
  cmake --build "$native_dir" -j2 --target flyingquorlin fq_x11_bench >/dev/null
  "$native_dir/bench/x11/fq_x11_bench"
  echo "== Processor share of the X11 hack, one core = 100%, over ${sample_seconds} s after" \
    "${warm_up_seconds} s"
  for count in 8 30; do
    "$native_dir/flyingquorlin" --root --speed 25 --count "$count" &
    pid=$!
    printf '  %-40s %s\n' "hack, Speed 25, Count $count:" "$(cpu_shares "$pid")"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    "$native_dir/bench/x11/fq_x11_bench" --paced $((warm_up_seconds + sample_seconds + 2)) \
      "$count" &
    pid=$!
    printf '  %-40s %s\n' "bare copies, 25 ms pause, Count $count:" "$(cpu_shares "$pid")"
    wait "$pid"
  done
}

# The Wayland client under a headless sway of its own: frame time against a bare loop on the same
# buffers, processor share, start-up on two outputs and resident memory; then under a headless
# gnome-shell with two monitors, on fullscreen windows: frame time, processor share, and the
# share of --when-idle while it waits.
wayland() {
  cmake --build "$native_dir" -j2 --target flyingquorlin-wayland fq_wayland_bench >/dev/null
  /usr/bin/python3 bench/wayland/run_under_sway.py "$native_dir/flyingquorlin-wayland" \
    "$native_dir/bench/wayland/fq_wayland_bench" "$sample_seconds"
  /usr/bin/python3 bench/wayland/run_under_gnome.py "$native_dir/flyingquorlin-wayland" \
    "$native_dir/bench/wayland/fq_wayland_bench" "$sample_seconds"
}

if [[ $part == all ]]; then
  wayland
  start_screen 1920x1080 "$scratch"
  cp "$screen_file" "$scratch/black.xwd"
  each_build drawing_and_share
  program_files
  each_build startup_and_memory
  x11_hack
  end_screen
fi

# Wine's LogPixels in both places a program's DPI comes from, set before any program of the
# prefix starts.
set_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' \
    'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  done
}

# A dense screen, in a prefix of its own so that the one above stays at 96 dpi.
if [[ $part == @(all|dense) ]]; then
  dense="3840x2160 at 192 dpi"
  export WINEPREFIX=$dense_prefix
  start_screen 3840x2160 "$scratch/dense"
  set_dpi 192
  echo "== A dense screen, $dense: the Windows programs take k = 2 from it, as the saver does"
  each_build drawing_and_share "$dense"
  each_build private_memory "$dense" 3840x2160
  end_screen
fi

if [[ $part == @(all|monitors) ]]; then
  export WINEPREFIX=$plain_prefix
  start_two_monitors 1920x1080 1280x720 "$scratch/monitors"
  echo "== Two monitors, 1920x1080 (primary) beside 1280x720, 96 dpi: k = 1 on both"
  each_build drawing_and_share "two monitors at k = 1"
  each_build private_memory "two monitors at k = 1" 1920x1080 1280x720
  end_screen

  export WINEPREFIX=$dense_prefix
  start_two_monitors 3840x2160 3840x2160 "$scratch/dense-monitors"
  set_dpi 192
  echo "== Two monitors, 3840x2160 beside 3840x2160, 192 dpi: k = 2 on both"
  each_build drawing_and_share "two monitors at k = 2"
  each_build private_memory "two monitors at k = 2" 3840x2160 3840x2160
fi
