"""Checks a built program file without running it: a GUI PE32 file for i386 (the product) or
PE32+ for x86-64, small enough to mail and copy as one file, importing system DLLs only (the
runtime is linked in), with the exact version block, icon group 1 (its largest image a PNG), the
manifest, the sprite sheet and logo for every scale, and no string table, so that the system
lists the saver under its file name. Usage: check_pe.py i686|x86_64 FILE VERSION VERSION_TEXT
(the build's project version, for instance 0.4.0, and the text its version block shows)"""

import os
import struct
import sys
import xml.etree.ElementTree as ElementTree

import pefile

RT_BITMAP, RT_ICON, RT_STRING, RT_RCDATA, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = \
    2, 3, 6, 10, 14, 16, 24
MACHINE = {"i686": (0x14C, 0x10B), "x86_64": (0x8664, 0x20B)}  # machine, optional-header magic
SIZE_LIMIT = {"i686": 256 * 1024, "x86_64": 320 * 1024}  # bytes
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll",
               "shell32.dll", "comctl32.dll", "ole32.dll", "oleaut32.dll", "version.dll",
               "winmm.dll", "imm32.dll", "uxtheme.dll", "shlwapi.dll", "ntdll.dll"}
# width, height (0 for 256), bits, bytes
ICONS = {30001: (32, 32, 8, 2216), 30002: (16, 16, 8, 1384), 30003: (48, 48, 8, 3752),
         30004: (0, 0, 32, 10055)}
PNG_ICON = 30004
# The sheet at 1x as a bitmap; the logo and the 2x and 3x sheets compressed (src/resources/resource_ids.h)
PICTURES = [(RT_BITMAP, 101), (RT_RCDATA, 102), (RT_RCDATA, 201), (RT_RCDATA, 202),
            (RT_RCDATA, 301), (RT_RCDATA, 302)]
XMLNS = {"v1": "urn:schemas-microsoft-com:asm.v1", "v3": "urn:schemas-microsoft-com:asm.v3",
         "os": "urn:schemas-microsoft-com:compatibility.v1",
         "ws": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
         "ws16": "http://schemas.microsoft.com/SMI/2016/WindowsSettings"}

arch, path, version, version_text = sys.argv[1:]
major, minor, patch, tweak = (list(map(int, version.split("."))) + [0, 0, 0])[:4]
FIXED = {"FileVersionMS": major << 16 | minor, "FileVersionLS": patch << 16 | tweak,
         "ProductVersionMS": major << 16 | minor, "ProductVersionLS": patch << 16 | tweak,
         "FileFlagsMask": 0, "FileFlags": 0, "FileOS": 4, "FileType": 1, "FileSubtype": 0,
         "FileDateMS": 0, "FileDateLS": 0}  # a 32-bit Windows application
STRINGS = [("CompanyName", "Quorlin Works"), ("ProductName", "Flying Quorlin ScreenSaver"),
           ("FileVersion", version_text), ("ProductVersion", version_text),
           ("InternalName", "FlyingQuorlin"), ("OriginalFilename", "FlyingQuorlin.scr")]
pe = pefile.PE(path)
failures = []


def expect(what, found, wanted):
    if found != wanted:
        failures.append(f"{arch}: {what}: {found!r}, expected {wanted!r}")


expect("machine and magic", (pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Magic), MACHINE[arch])
expect("subsystem (2: GUI, so that no console opens)", pe.OPTIONAL_HEADER.Subsystem, 2)
expect(f"within {SIZE_LIMIT[arch]:,} bytes", os.path.getsize(path) <= SIZE_LIMIT[arch], True)
imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT
           + getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])}
expect("DLLs outside the system", sorted(imports - SYSTEM_DLLS), [])

resources = {}  # (type, id, language): bytes
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    for name in kind.directory.entries:
        for language in name.directory.entries:
            data = language.data.struct
            resources[kind.id, name.id, language.id] = pe.get_data(data.OffsetToData, data.Size)
expect("string, icon group, version and manifest resources (type, id, language)",
       sorted(key for key in resources if key[0] in (RT_STRING, RT_GROUP_ICON, RT_VERSION,
                                                     RT_MANIFEST)),
       [(RT_GROUP_ICON, 1, 0), (RT_VERSION, 1, 1033), (RT_MANIFEST, 1, 0)])

expect("fixed version", {field: getattr(pe.VS_FIXEDFILEINFO[0], field) for field in FIXED}, FIXED)
tables = [table for info in pe.FileInfo[0] for table in getattr(info, "StringTable", [])]
expect("string table languages", [table.LangID for table in tables], [b"040904B0"])
expect("version strings", [(key.decode(), value.decode()) for table in tables
                           for key, value in table.entries.items()], STRINGS)
expect("translations", [var.entry for info in pe.FileInfo[0] for var in getattr(info, "Var", [])],
       [{b"Translation": "0x0409 0x04b0"}])

group = resources.get((RT_GROUP_ICON, 1, 0), b"\0" * 6)
entries = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
           for i in range(struct.unpack_from("<H", group, 4)[0])]
expect("icon group 1 (image: width, height, bits, bytes)",
       {e[7]: (e[0], e[1], e[5], e[6]) for e in entries}, ICONS)
expect("icon images' sizes", {image: len(resources.get((RT_ICON, image, 0), b""))
                              for image in ICONS}, {image: i[3] for image, i in ICONS.items()})
expect("the largest icon image is a PNG file",
       resources.get((RT_ICON, PNG_ICON, 0), b"")[:8], b"\x89PNG\r\n\x1a\n")
expect("pictures (type, id)", sorted(key[:2] for key in resources
                                     if key[0] in (RT_BITMAP, RT_RCDATA)), PICTURES)

manifest = ElementTree.fromstring(resources.get((RT_MANIFEST, 1, 0), b"<none/>"))
expect("manifest: execution level, DPI awareness, dependencies, supported systems",
       ([node.get("level") for node in manifest.iterfind(".//v3:requestedExecutionLevel", XMLNS)],
        [node.text for node in manifest.iterfind(".//ws:dpiAware", XMLNS)] +
        [node.text for node in manifest.iterfind(".//ws16:dpiAwareness", XMLNS)],
        [node.get("name") + " " + node.get("version") for node in
         manifest.iterfind(".//v1:dependentAssembly/v1:assemblyIdentity", XMLNS)],
        len(manifest.findall(".//os:supportedOS", XMLNS))),
       (["asInvoker"], ["true/pm", "PerMonitorV2, PerMonitor"], ["Microsoft.Windows.Common-Controls 6.0.0.0"], 5))

print("\n".join(failures) or f"{path}: all checks passed")
sys.exit(1 if failures else 0)
