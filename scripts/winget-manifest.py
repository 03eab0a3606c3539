#!/usr/bin/env python3
"""Writes the winget manifest of a release (schema 1.6: the version, installer and default
locale files) into FOLDER, for the installer INSTALLER of version VERSION. The names, the
publisher, the uninstall entry's key and the rights the installer asks for come from
packaging/windows/installer.nsi, the licence from LICENSE, so that the manifest says what the
installer does. The installer's address is the release's download folder in FQ_RELEASE_URL,
or a placeholder that the maintainer replaces before submitting (README.md, "winget").
Usage: scripts/winget-manifest.py FOLDER VERSION INSTALLER"""

import hashlib
import os
import re
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
SCHEMA = "1.6.0"
# What RequestExecutionLevel asks of Windows, in winget's words: "admin" makes the installer
# ask for elevation itself.
ELEVATION = {"admin": "elevatesSelf", "user": "elevationProhibited"}
DESCRIPTION = "A classic screen saver in which a flock of winged quorlins flaps across the screen"


def installer_script():
    script = (REPO / "packaging/windows/installer.nsi").read_text()
    defines = dict(re.findall(r'^!define (\w+) "(.*)"$', script, re.M))
    level = re.search(r"^RequestExecutionLevel (\w+)$", script, re.M).group(1)
    return defines, ELEVATION[level]


def manifests(version, installer):
    defines, elevation = installer_script()
    product_code = defines["UNINSTALL_KEY"].rsplit("\\", 1)[1]
    identifier = defines["PUBLISHER"].replace(" ", "") + "." + product_code
    url = os.environ.get("FQ_RELEASE_URL", "https://FILL-IN.invalid/release-folder")
    head = lambda kind: (f"# yaml-language-server: $schema=https://aka.ms/winget-manifest."
                         f"{kind}.{SCHEMA}.schema.json\n\nPackageIdentifier: {identifier}\n"
                         f"PackageVersion: {version}\n")
    tail = lambda kind: f"ManifestType: {kind}\nManifestVersion: {SCHEMA}\n"
    return {
        f"{identifier}.yaml": head("version") + "DefaultLocale: en-US\n" + tail("version"),
        f"{identifier}.installer.yaml": head("installer") + f"""InstallerType: nullsoft
Scope: machine
ElevationRequirement: {elevation}
Installers:
- Architecture: x86
  InstallerUrl: {url}/{Path(installer).name}
  InstallerSha256: {hashlib.sha256(Path(installer).read_bytes()).hexdigest().upper()}
AppsAndFeaturesEntries:
- DisplayName: {defines["PRODUCT"]}
  Publisher: {defines["PUBLISHER"]}
  DisplayVersion: {version}
  ProductCode: {product_code}
""" + tail("installer"),
        f"{identifier}.locale.en-US.yaml": head("defaultLocale") + f"""PackageLocale: en-US
Publisher: {defines["PUBLISHER"]}
PackageName: {defines["PRODUCT"]}
License: {(REPO / "LICENSE").read_text().splitlines()[0].removesuffix(" License")}
ShortDescription: {DESCRIPTION}
""" + tail("defaultLocale"),
    }


if __name__ == "__main__":
    folder, version, installer = sys.argv[1:4]
    Path(folder).mkdir(parents=True, exist_ok=True)
    for name, text in manifests(version, installer).items():
        (Path(folder) / name).write_text(text)
