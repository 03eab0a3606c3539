"""The release made twice by scripts/package.sh, from two clones in other folders, later, with
another umask and time zone: the same bytes, or diffoscope says how they differ; then signed
with a throwaway certificate, and verified. Usage: test_release.py VERSION VERSION_TEXT"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
VERSION, VERSION_TEXT = sys.argv[1:3]
ARCH = subprocess.run(["dpkg", "--print-architecture"], check=True, capture_output=True,
                      text=True).stdout.strip()
RELEASE = ["release-win32/FlyingQuorlin.scr", "release-win64/FlyingQuorlin.scr",
           f"FlyingQuorlin-{VERSION}.zip", f"FlyingQuorlin-{VERSION}.exe",
           f"flyingquorlin_{VERSION}_{ARCH}.deb",
           "winget/QuorlinWorks.FlyingQuorlin.installer.yaml"]


def run(command, **options):
    done = subprocess.run(command, capture_output=True, text=True, **options)
    if done.returncode:
        raise AssertionError(f"{command} failed:\n{done.stdout[-3000:]}{done.stderr[-3000:]}")
    return done.stdout


class ReleaseTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp())
        cls.addClassCleanup(shutil.rmtree, cls.work, ignore_errors=True)
        commit = run(["git", "-C", REPO, "rev-parse", "HEAD"]).strip()
        cls.clones = [cls.work / "first", cls.work / "elsewhere/second"]
        for clone, umask, zone in zip(cls.clones, ["022", "077"], ["UTC", "XYZ-13"]):
            run(["bash", "-c", f"umask {umask} && git clone -q --no-checkout \"$0\" \"$1\" && "
                 f"git -C \"$1\" checkout -q {commit}", REPO, clone])
            cls.package(clone, umask, TZ=zone)
            # Kept apart: the signing test makes the second clone's release again.
            for name in RELEASE:
                shutil.copy(clone / "build" / name, (cls.work / clone.name).with_suffix(
                    "." + name.replace("/", "-")))

    @staticmethod
    def package(clone, umask, **env):
        run(["bash", "-c", f"umask {umask} && exec bash scripts/package.sh"], cwd=clone,
            env=dict(os.environ, **env))

    def test_two_builds_give_the_same_bytes(self):
        for name in RELEASE:
            first, second = ((self.work / clone.name).with_suffix("." + name.replace("/", "-"))
                             for clone in self.clones)
            if first.read_bytes() != second.read_bytes():
                report = subprocess.run(["diffoscope", "--text", "-", "--max-report-size",
                                         "20000", first, second],
                                        capture_output=True, text=True, timeout=600)
                self.fail(f"{name} differs:\n{report.stdout}{report.stderr[-2000:]}")

    def test_signed_with_the_certificate_given(self):
        clone, keys = self.clones[1], self.work / "keys"
        keys.mkdir()
        run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
             "-subj", "/CN=Throwaway signer", "-addext", "extendedKeyUsage=codeSigning",
             "-keyout", keys / "key.pem", "-out", keys / "cert.pem"])
        run(["openssl", "pkcs12", "-export", "-inkey", keys / "key.pem", "-in", keys / "cert.pem",
             "-passout", "pass:throwaway", "-out", keys / "cert.p12"])
        self.package(clone, "022", FQ_SIGN_CERT=keys / "cert.pem", FQ_SIGN_KEY=keys / "key.pem")

        unpacked = keys / "unpacked"
        with zipfile.ZipFile(clone / "build" / RELEASE[2]) as archive:
            archive.extractall(unpacked)
        programs = {arch: unpacked / f"FlyingQuorlin-{VERSION}/FlyingQuorlin-{bits}bit.scr"
                    for arch, bits in (("i686", 32), ("x86_64", 64))}
        installer = clone / "build" / RELEASE[3]
        run(["7zz", "x", "-aou", f"-o{unpacked}/installer", installer])
        # The PKCS #12 form of the same certificate, on a copy.
        shutil.copy(programs["i686"], keys / "copy.scr")
        run(["bash", REPO / "scripts/sign.sh", keys / "copy.scr"],
            env=dict(os.environ, FQ_SIGN_PKCS12=keys / "cert.p12", FQ_SIGN_PASSWORD="throwaway"))
        packed = sorted([*(unpacked / "installer").glob("**/*.exe"),
                         *(unpacked / "installer").glob("**/*.scr")])
        self.assertEqual([path.name for path in packed],
                         ["FlyingQuorlin.scr", "FlyingQuorlin_1.scr", "uninstall.exe"])
        for path in [*programs.values(), installer, keys / "copy.scr", *packed]:
            with self.subTest(path.name):
                self.assertIn("Subject: /CN=Throwaway signer",
                              run(["osslsigncode", "verify", "-CAfile", keys / "cert.pem",
                                   "-in", path]))
        for arch, path in programs.items():
            run([sys.executable, REPO / "tests/static/check_pe.py", arch, path, VERSION,
                 VERSION_TEXT])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
