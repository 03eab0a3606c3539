"""The Wayland client's figures under a headless sway of its own, run as a user of its own (sway
refuses root): the frame time of the real frame step against the bare loop (fq_wayland_bench)
on one 1920x1080 output; the processor share of the saver at Speed 25 against the paced bare
loop; then with a second output at scale 2, the time from start to a covered frame on every
output (polled with grim, so within a screenshot's time) and the resident memory against the
buffers the outputs need.
Usage: python3 run_under_sway.py PROGRAM BENCH SAMPLE_SECONDS"""

import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time

PROGRAM, BENCH, SAMPLE = sys.argv[1], sys.argv[2], float(sys.argv[3])
USER = "fq-wayland-test"
WARM_UP = 3
HZ = os.sysconf("SC_CLK_TCK")

if subprocess.run(["id", USER], capture_output=True).returncode:
    subprocess.run(["useradd", "--system", "--no-create-home", USER], check=True)
user = pwd.getpwnam(USER)
folder = tempfile.mkdtemp(prefix="fq-wayland-bench-")
for name, path in (("saver", PROGRAM), ("bench", BENCH)):
    shutil.copy(path, os.path.join(folder, name))
with open(os.path.join(folder, "config"), "w") as config:
    config.write("output HEADLESS-1 mode 1920x1080\noutput * bg #ffffff solid_color\n")
os.chmod(folder, 0o700)
for entry in [folder] + [os.path.join(folder, n) for n in os.listdir(folder)]:
    os.chown(entry, user.pw_uid, user.pw_gid)
env = {"PATH": os.environ["PATH"], "XDG_RUNTIME_DIR": folder, "HOME": folder,
       "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}


def start(command, stdout=subprocess.DEVNULL):
    return subprocess.Popen(command, cwd=folder, env=env, stdout=stdout,
                            stderr=subprocess.DEVNULL, user=user.pw_uid, group=user.pw_gid,
                            extra_groups=[])


def run(*command):
    return start(list(command), stdout=subprocess.PIPE).communicate(timeout=60)[0]


def find(prefix):
    names = [n for n in os.listdir(folder) if n.startswith(prefix) and "lock" not in n]
    return names[0] if names else None


def ticks(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def shares(pid, sway_pid):  # percent of one core, the program's and sway's
    time.sleep(WARM_UP)
    before = ticks(pid), ticks(sway_pid)
    time.sleep(SAMPLE)
    after = ticks(pid), ticks(sway_pid)
    return [100 * (a - b) / HZ / SAMPLE for a, b in zip(after, before)]


def covered(output):  # no more white than the sprites' highlights hold
    pixels = run("grim", "-t", "ppm", "-o", output, "-").split(b"\n", 3)[3]
    return pixels.count(b"\xff\xff\xff") < len(pixels) // 3 // 300


def ended(process):
    process.kill()
    process.wait()


sway = start(["sway", "-c", "config"])
try:
    for _ in range(100):
        if find("wayland-"):
            break
        time.sleep(0.1)
    env["WAYLAND_DISPLAY"] = find("wayland-")
    env["SWAYSOCK"] = os.path.join(folder, find("sway-ipc."))
    time.sleep(0.5)
    print("== Wayland: frame time on HEADLESS-1, 1920x1080, k = 1 (sway 1.7 headless, pixman)",
          flush=True)
    print(run(os.path.join(folder, "bench")).decode(), end="", flush=True)
    print(f"== Wayland: processor share, one core = 100%, over {SAMPLE:g} s after {WARM_UP} s")
    for count in (8, 30):
        saver = start([os.path.join(folder, "saver"), "--speed", "25", "--count", str(count)])
        own, compositor = shares(saver.pid, sway.pid)
        ended(saver)
        print(f"  {'saver, Speed 25, Count %d:' % count:40} {own:6.2f} %   (sway {compositor:.2f} %)")
        bare = start([os.path.join(folder, "bench"), "--paced", str(WARM_UP + SAMPLE + 2),
                      str(count)])
        own, compositor = shares(bare.pid, sway.pid)
        bare.wait()
        print(f"  {'bare blits, 25 ms pause, Count %d:' % count:40} {own:6.2f} %   (sway {compositor:.2f} %)",
              flush=True)
    run("swaymsg", "create_output")
    run("swaymsg", "output", "HEADLESS-2", "mode", "1920x1080", "scale", "2")
    time.sleep(1)
    outputs = ("HEADLESS-1", "HEADLESS-2")
    print("== Wayland: start to a covered frame on both outputs (HEADLESS-1 1920x1080 k = 1,"
          " HEADLESS-2 1920x1080 k = 2), seconds, grim polling")
    runs = []
    for _ in range(5):
        begin = time.monotonic()
        saver = start([os.path.join(folder, "saver")])
        waiting = set(outputs)
        while waiting and time.monotonic() - begin < 30:
            waiting = {output for output in waiting if not covered(output)}
        runs.append(time.monotonic() - begin)
        ended(saver)
        time.sleep(0.5)
    print(f"  median {sorted(runs)[len(runs) // 2]:.3f} s   (runs: {' '.join(f'{r:.3f}' for r in runs)})")
    print("== Wayland: resident memory after 5 s, Count 8, both outputs (KiB)")
    saver = start([os.path.join(folder, "saver"), "--count", "8"])
    time.sleep(5)
    with open(f"/proc/{saver.pid}/status") as status:
        fields = dict(line.split(":", 1) for line in status)
    ended(saver)
    frame = 1920 * 1080 * 4 // 1024
    for name in ("VmRSS", "RssAnon", "RssFile", "RssShmem"):
        print(f"  {name + ':':12} {fields[name].strip()}")
    print(f"  one frame of 1920x1080 is {frame} KiB: WorkScr and 2 or 3 buffers an output,"
          f" {2 * 3 * frame}-{2 * 4 * frame} KiB for both")
finally:
    ended(sway)
    shutil.rmtree(folder)
