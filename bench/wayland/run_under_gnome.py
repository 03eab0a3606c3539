"""The Wayland client's figures under a headless gnome-shell of its own, with two monitors
(1024x768 and 800x600), where it covers with fullscreen windows: the frame time of the real frame step against
the bare loop on the same buffers of both (fq_wayland_bench); the processor share of the saver
at Speed 25 against the paced bare loop; and the share of `--when-idle 600` over 60 s of
waiting. Run as a user of its own, with a private session bus and a private system bus; the
start-up overview is dismissed with Escape through Mutter's RemoteDesktop.
Usage: python3 run_under_gnome.py PROGRAM BENCH SAMPLE_SECONDS"""

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
IDLE_SAMPLE = 60
HZ = os.sysconf("SC_CLK_TCK")
# Escape, from a client of the session bus: Mutter ends its input session with the client.
ESCAPE = """from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
call = lambda path, iface, method, args=None: bus.call_sync("org.gnome.Mutter.RemoteDesktop",
    path, iface, method, args, None, 0, 10000)
session = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
               "CreateSession")[0]
call(session, "org.gnome.Mutter.RemoteDesktop.Session", "Start")
for pressed in (True, False):
    call(session, "org.gnome.Mutter.RemoteDesktop.Session", "NotifyKeyboardKeysym",
         GLib.Variant("(ub)", (0xff1b, pressed)))
"""

if not shutil.which("gnome-shell"):
    print("== Wayland under gnome-shell: skipped, gnome-shell is not installed")
    sys.exit(0)
if subprocess.run(["id", USER], capture_output=True).returncode:
    subprocess.run(["useradd", "--system", "--no-create-home", USER], check=True)
user = pwd.getpwnam(USER)
folder = tempfile.mkdtemp(prefix="fq-wayland-gnome-")
for name, path in (("saver", PROGRAM), ("bench", BENCH)):
    shutil.copy(path, os.path.join(folder, name))
os.chmod(folder, 0o700)
for entry in [folder] + [os.path.join(folder, n) for n in os.listdir(folder)]:
    os.chown(entry, user.pw_uid, user.pw_gid)
env = {"PATH": os.environ["PATH"], "XDG_RUNTIME_DIR": folder, "HOME": folder,
       "LANG": "C.UTF-8", "WAYLAND_DISPLAY": "wayland-fq"}
started = []


def start(command, stdout=subprocess.DEVNULL):
    process = subprocess.Popen(command, cwd=folder, env=env, stdout=stdout,
                               stderr=subprocess.DEVNULL, user=user.pw_uid, group=user.pw_gid,
                               extra_groups=[])
    started.append(process)
    return process


def bus(name):  # a dbus-daemon of the user's, its address once it listens
    daemon = start(["dbus-daemon", "--session", f"--address=unix:path={folder}/{name}",
                    "--nofork", "--print-address"], stdout=subprocess.PIPE)
    return daemon.stdout.readline().decode().strip()


def ticks(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def shares(pid, shell_pid, seconds):  # percent of one core, the program's and gnome-shell's
    time.sleep(WARM_UP)
    before = ticks(pid), ticks(shell_pid)
    time.sleep(seconds)
    after = ticks(pid), ticks(shell_pid)
    return [100 * (a - b) / HZ / seconds for a, b in zip(after, before)]


def ended(process):
    process.kill()
    process.wait()


try:
    env["DBUS_SYSTEM_BUS_ADDRESS"] = bus("system_bus")
    env["DBUS_SESSION_BUS_ADDRESS"] = bus("bus")
    shell = start(["gnome-shell", "--headless", "--wayland", "--no-x11", "--wayland-display",
                   "wayland-fq", "--virtual-monitor", "1024x768", "--virtual-monitor",
                   "800x600"])
    deadline = time.monotonic() + 120
    while shell.poll() is None and time.monotonic() < deadline and \
            start(["/usr/bin/python3", "-c", ESCAPE]).wait():
        time.sleep(1)
    if shell.poll() is not None:
        raise SystemExit("gnome-shell ended at its start")
    time.sleep(2)
    print("== Wayland: frame time under gnome-shell 43 headless, monitors 1024x768 and 800x600,"
          " fullscreen windows, k = 1", flush=True)
    print(start([os.path.join(folder, "bench")], stdout=subprocess.PIPE).communicate()[0].decode(),
          end="", flush=True)
    print(f"== Wayland under gnome-shell: processor share, one core = 100%, over {SAMPLE:g} s"
          f" after {WARM_UP} s")
    for count in (8, 30):
        saver = start([os.path.join(folder, "saver"), "--speed", "25", "--count", str(count)])
        own, compositor = shares(saver.pid, shell.pid, SAMPLE)
        ended(saver)
        print(f"  {'saver, Speed 25, Count %d:' % count:40} {own:6.2f} %   (gnome-shell {compositor:.2f} %)")
        bare = start([os.path.join(folder, "bench"), "--paced", str(WARM_UP + SAMPLE + 2),
                      str(count)])
        own, compositor = shares(bare.pid, shell.pid, SAMPLE)
        bare.wait()
        print(f"  {'bare blits, 25 ms pause, Count %d:' % count:40} {own:6.2f} %   (gnome-shell {compositor:.2f} %)",
              flush=True)
    waiting = start([os.path.join(folder, "saver"), "--when-idle", "600"])
    own, _ = shares(waiting.pid, shell.pid, IDLE_SAMPLE)
    ended(waiting)
    print(f"== Wayland under gnome-shell: --when-idle 600 waiting, over {IDLE_SAMPLE} s after"
          f" {WARM_UP} s: {own:.3f} % of one core ("
          f"GNOME's IdleMonitor on the session bus)")
finally:
    for process in reversed(started):
        if process.poll() is None:
            ended(process)
    # The shell's document portal mounts a folder there, which its helper may not yet have let go.
    subprocess.run(["fusermount3", "-u", "-z", os.path.join(folder, "doc")], capture_output=True)
    shutil.rmtree(folder)
