"""The Debian package's maintainer scripts, run on a private tree through DPKG_ROOT: the hack
joins XScreenSaver's list of programs as XScreenSaver's defaults change, and leaves it again.
Usage: python3 test_deb_scripts.py"""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

SCRIPTS = Path(__file__).resolve().parents[2] / "packaging/deb"
LINK, STATE = "etc/X11/app-defaults/XScreenSaver", "var/lib/flyingquorlin"
COPY = "/" + STATE + "/XScreenSaver"
ENTRY = "flyingquorlin --root"


def defaults(*hacks):  # an application-defaults file in XScreenSaver's layout
    lines = "".join(f"\t\t\t\t{hack} --root\t\t\t    \\n\\\n" for hack in hacks)
    return f"*mode:\t\trandom\n*programs:\t\t\t\t\\\n{lines[:-2]}\n\n*textMode:\turl\n"


class MaintainerScriptsTest(unittest.TestCase):

    def setUp(self):
        self.root = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.root)
        (self.root / LINK).parent.mkdir(parents=True)

    def write(self, name, text):
        (self.root / LINK).with_name(name).write_text(text)

    def choose(self, target):
        link = self.root / LINK
        link.unlink(missing_ok=True)
        link.symlink_to(target)

    def run_script(self, script, action):
        return subprocess.run([SCRIPTS / script, action], env=dict(os.environ, DPKG_ROOT=self.root),
                              capture_output=True, text=True, check=True)

    def programs(self):  # the list as XScreenSaver reads it, through the link
        target = os.readlink(self.root / LINK)
        path = self.root / target.lstrip("/") if target.startswith("/") else \
            (self.root / LINK).with_name(target)
        text = path.read_text().replace("\\\n", "")
        value = next(line for line in text.splitlines() if line.startswith("*programs:"))
        return [" ".join(entry.split()) for entry in value.split(":", 1)[1].split("\\n")
                if entry.strip()]

    def test_install_upgrade_and_removal(self):
        self.write("XScreenSaver-nogl", defaults("maze", "qix"))
        self.choose("XScreenSaver-nogl")
        for _ in range(2):  # an upgrade configures again: still one entry
            self.run_script("postinst", "configure")
            self.assertEqual(self.programs(), ["maze --root", "qix --root", ENTRY])
        self.assertEqual(os.readlink(self.root / LINK), COPY)
        self.assertIn("Flying Quorlin", (self.root / COPY.lstrip("/")).read_text())

        self.run_script("postrm", "remove")
        self.assertEqual(os.readlink(self.root / LINK), "XScreenSaver-nogl")
        self.assertFalse((self.root / STATE).exists())

    def test_xscreensavers_changes_are_followed(self):
        self.write("XScreenSaver-nogl", defaults("maze"))
        self.choose("XScreenSaver-nogl")
        self.run_script("postinst", "configure")
        self.write("XScreenSaver-nogl", defaults("maze", "newcomer"))
        self.run_script("postinst", "triggered")
        self.assertEqual(self.programs(), ["maze --root", "newcomer --root", ENTRY])

        self.write("XScreenSaver-gl", defaults("maze", "gears"))  # the GL hacks, chosen by theirs
        self.choose("XScreenSaver-gl")
        self.run_script("postinst", "triggered")
        self.assertEqual(self.programs(), ["maze --root", "gears --root", ENTRY])
        self.run_script("postrm", "remove")
        self.assertEqual(os.readlink(self.root / LINK), "XScreenSaver-gl")

    def test_what_is_not_its_own_stays(self):
        self.run_script("postinst", "configure")  # no XScreenSaver yet: nothing to do
        self.assertEqual(list(self.root.rglob("*")), [self.root / "etc", self.root / "etc/X11",
                                                      self.root / "etc/X11/app-defaults"])
        self.write("XScreenSaver-nogl", defaults("maze", "flyingquorlin"))
        self.run_script("postinst", "triggered")  # it arrives, its own scripts not run yet
        self.assertEqual(self.programs(), ["maze --root", ENTRY])

        self.run_script("postrm", "remove")
        self.assertEqual(os.readlink(self.root / LINK), "XScreenSaver-nogl")
        (self.root / LINK).unlink()
        self.write("XScreenSaver", "*programs: maze --root\n")  # the administrator's own file
        told = self.run_script("postinst", "configure").stderr
        self.assertIn("left as it is", told)
        self.assertEqual((self.root / LINK).read_text(), "*programs: maze --root\n")


if __name__ == "__main__":
    unittest.main(verbosity=2)
