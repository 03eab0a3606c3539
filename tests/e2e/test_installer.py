"""The Windows installer under Wine, silently in a fresh prefix, its winget manifest, a group
policy that decides, the uninstaller, and the refusal of an older Windows (README.md here).
Wine reports every user as an administrator: the refusal without those rights is not tried."""

import hashlib
import re
import subprocess

from harness import BM_CLICK, BUILD, REPO, WINE, WineTest, run, wine_path

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
POLICY_KEY = r"HKCU\Software\Policies\Microsoft\Windows\Control Panel\Desktop"
POLICY_NOTE = "Your organisation's policy decides the screen saver on this machine."
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\FlyingQuorlin"
SAVER = r"C:\windows\system32\FlyingQuorlin.scr"
UNINSTALLER = r"C:\Program Files\Flying Quorlin\uninstall.exe"
LOG = r"C:\Program Files\Flying Quorlin\install.log"
PREVIOUS, OTHER = r"C:\windows\system32\previous.scr", r"C:\windows\system32\other.scr"
TARGET = {"i686": "x86-unicode", "x86_64": "amd64-unicode"}
ERROR_OLD_WIN_VERSION = 1150
WS_DISABLED = 0x8000000


class InstallerTest(WineTest):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.installer = cls.work / "FlyingQuorlin.exe"
        subprocess.run(["bash", REPO / "scripts/make-installer.sh", cls.installer,
                        TARGET[cls.arch], BUILD["i686"] / "FlyingQuorlin.scr",
                        BUILD["x86_64"] / "FlyingQuorlin.scr"],
                       check=True, capture_output=True)
        cls.version = subprocess.run(["bash", REPO / "scripts/version.sh"], check=True,
                                     capture_output=True, text=True).stdout.strip()
        subprocess.run(["/usr/bin/python3", REPO / "scripts/winget-manifest.py", cls.work / "winget",
                        cls.version, cls.installer], check=True)
        cls.manifest = dict(re.findall(r"^[- ]*(\w+): (.*)$", "".join(
            path.read_text() for path in (cls.work / "winget").iterdir()), re.M))

    def on_disk(self, path):
        return self.work / "prefix/drive_c" / path[3:].replace("\\", "/")

    def reg(self, *args):  # reg.exe's exit code and output; a start that says nothing is retried
        for _ in range(3):
            code, out, err = run(self.env, [WINE["x86_64"], "reg", *args])
            if code == 0 or out or err:
                return code, out
        raise AssertionError(f"reg {' '.join(args)} failed silently ({code:#x})")

    def values(self, key):  # name to data as reg.exe prints it; None where the key is missing
        code, out = self.reg("query", key)
        if code:
            return None
        return dict(line[4:].split("    ", 2)[::2] for line in out.replace("\r", "").split("\n")
                    if line.startswith("    "))

    def choose_saver(self, path):  # None: no saver chosen
        self.reg(*(["add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", path, "/f"] if path else
                   ["delete", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/f"]))

    def chosen_saver(self):
        return self.values(DESKTOP_KEY).get("SCRNSAVE.EXE")

    def install(self, args="/S"):  # exit codes past 255 come whole through the launcher
        return self.start(args, path=wine_path(self.installer))

    def install_silently(self):  # its exit code; the screen stays as it was while it runs
        screen, installer = self.pixels(), self.install()
        while installer.running():
            self.assertEqual(self.pixels(), screen, "the silent installer showed a window")
        return installer.wait()

    def uninstall(self):  # it returns at once, running on from a copy; the entry goes last
        run(self.env, [WINE[self.arch], UNINSTALLER, "/S"])
        self.wait_until(lambda: self.values(UNINSTALL_KEY) is None, 60,
                        "the uninstaller to remove the entry")

    def test_install_then_uninstall(self):
        settings = {"Speed": "40", "Count": "12"}
        # The saver chosen before the install, the one chosen after it, the one left after
        # the uninstall.
        for before, meanwhile, after in [(PREVIOUS, None, PREVIOUS), (None, None, None),
                                         (PREVIOUS, OTHER, OTHER)]:
            with self.subTest(before=before, meanwhile=meanwhile):
                self.choose_saver(before)
                self.store(settings)
                self.assertEqual(self.install_silently(), 0, "the installer's exit code")
                self.assertEqual(self.on_disk(SAVER).read_bytes(),
                                 (BUILD["x86_64"] / "FlyingQuorlin.scr").read_bytes(),
                                 "the file in the system folder: the 64-bit build")
                self.assertEqual(self.chosen_saver().lower(), SAVER.lower())
                entry = self.values(UNINSTALL_KEY)
                self.assertEqual({name: entry.get(name) for name in (
                    "DisplayName", "DisplayVersion", "Publisher", "DisplayIcon",
                    "UninstallString", "QuietUninstallString")}, {
                    "DisplayName": "Flying Quorlin Screen Saver",
                    "DisplayVersion": self.version, "Publisher": "Quorlin Works",
                    "DisplayIcon": SAVER + ",0", "UninstallString": f'"{UNINSTALLER}"',
                    "QuietUninstallString": f'"{UNINSTALLER}" /S'})
                self.assertEqual([self.manifest[name] for name in (
                    "DisplayName", "Publisher", "DisplayVersion", "ProductCode",
                    "InstallerSha256")], [entry["DisplayName"], entry["Publisher"],
                    entry["DisplayVersion"], UNINSTALL_KEY.rsplit("\\", 1)[1],
                    hashlib.sha256(self.installer.read_bytes()).hexdigest().upper()],
                    "the winget manifest")
                size_kib = (self.on_disk(SAVER).stat().st_size
                            + self.on_disk(UNINSTALLER).stat().st_size) // 1024
                self.assertAlmostEqual(int(entry["EstimatedSize"], 16), size_kib, delta=2,
                                       msg="the size shown in KiB")

                saver = self.start("/s", path=SAVER)
                self.wait_window(saver, cls="FlyingQuorlin.Saver")
                saver.kill()

                self.choose_saver(meanwhile or SAVER)
                self.uninstall()
                self.assertFalse(self.on_disk(SAVER).exists(), "the saver is left")
                self.assertFalse(self.on_disk(UNINSTALLER).exists(), "the uninstaller is left")
                self.assertEqual(self.chosen_saver(), after, "the saver chosen after the uninstall")
                self.assertEqual(self.settings(), settings, "the user's settings")

    def test_policy_that_decides_is_told_and_savers_turned_on(self):
        self.addCleanup(self.reg, "delete", POLICY_KEY, "/f")
        # The policy's values, the user's ScreenSaveActive (None: not set), whether the policy
        # decides, whether the installer runs with its window (to read its last page).
        for policy, active, decides, window in [
                ({}, "0", False, False), ({"SCRNSAVE.EXE": OTHER}, "1", True, True),
                ({"SCRNSAVE.EXE": SAVER}, None, False, True),
                ({"ScreenSaveActive": "0"}, "0", True, False),
                ({"ScreenSaveTimeOut": "600"}, None, True, True)]:
            with self.subTest(policy=policy, active=active):
                self.reg("delete", POLICY_KEY, "/f")
                for name, data in policy.items():
                    self.reg("add", POLICY_KEY, "/v", name, "/d", data, "/f")
                self.reg(*(["add", DESKTOP_KEY, "/v", "ScreenSaveActive", "/d", active, "/f"]
                           if active else ["delete", DESKTOP_KEY, "/v", "ScreenSaveActive", "/f"]))
                desktop = self.values(DESKTOP_KEY)
                desktop.pop("SCRNSAVE.EXE", None)
                if window:
                    installer = self.install("")
                    box = self.wait_window(installer, cls="#32770", timeout=60)
                    close = self.wait_until(lambda: next((
                        c for c in self.windows(parent=box["hwnd"])
                        if c["text"] == "&Close" and not c["style"] & WS_DISABLED), None),
                        60, "the last page")
                    texts = [c["text"] for c in self.windows(parent=box["hwnd"])]
                    self.post(close["hwnd"], BM_CLICK)
                    self.assertIn(POLICY_NOTE if decides else "Completed", texts, "last page")
                self.assertEqual(installer.wait(60) if window else self.install_silently(), 0)
                log = self.on_disk(LOG)
                self.assertEqual(log.read_bytes() if log.exists() else b"",
                                 (POLICY_NOTE + "\r\n").encode() * decides, "the installer's log")
                self.assertEqual(self.values(POLICY_KEY) or {}, policy, "the policy")
                after = self.values(DESKTOP_KEY)
                self.assertEqual(after.pop("SCRNSAVE.EXE").lower(), SAVER.lower())
                turned_on = {"ScreenSaveActive": "1"} if active else {}
                self.assertEqual(after, {**desktop, **turned_on}, "the user's own values")
        self.uninstall()

    def test_refuses_an_older_windows_and_changes_nothing(self):
        self.choose_saver(PREVIOUS)
        self.reg("add", r"HKCU\Software\Wine", "/v", "Version", "/d", "winxp64", "/f")
        self.addCleanup(self.reg, "delete", r"HKCU\Software\Wine", "/v", "Version", "/f")
        self.assertEqual(self.install().wait(60), ERROR_OLD_WIN_VERSION,
                         "silently: the exit code")
        installer = self.install("")
        box = self.wait_window(installer, cls="#32770")
        controls = self.windows(parent=box["hwnd"])
        self.assertIn("needs Windows Vista or later. Nothing was changed.",
                      " ".join(c["text"] for c in controls if c["class"] == "Static"))
        self.post(next(c["hwnd"] for c in controls if c["text"] == "OK"), BM_CLICK)
        self.assertEqual(installer.wait(), ERROR_OLD_WIN_VERSION, "with its box: the exit code")
        self.assertEqual((self.on_disk(SAVER).exists(), self.on_disk(UNINSTALLER).parent.exists(),
                          self.values(UNINSTALL_KEY), self.chosen_saver()),
                         (False, False, None, PREVIOUS), "what it changed")
