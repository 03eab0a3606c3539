"""The application manifest the loader reads: resource 1 of type 24, well-formed, asking for
the user's own rights (asInvoker), system DPI awareness, Common Controls 6 (visual styles) and
naming the five supported system families from Vista to 11."""

import xml.etree.ElementTree as ElementTree

from pe_resources import RT_MANIFEST, load
from static_check import Check

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
WINDOWS_SETTINGS = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SUPPORTED_SYSTEMS = 5

check = Check()
for arch, path in check.programs():
    _, found = load(path)
    manifests = {name: list(languages) for (kind, name), languages in found.items()
                 if kind == RT_MANIFEST}
    check.expect(list(manifests) == [1], f"{arch}: manifest resources {manifests}")
    if 1 not in manifests:
        continue
    (text,) = found[(RT_MANIFEST, 1)].values()
    try:
        manifest = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        check.expect(False, f"{arch}: the manifest is not well-formed XML: {error}")
        continue
    levels = [node.get("level") for node in manifest.iter(ASM_V3 + "requestedExecutionLevel")]
    check.expect(levels == ["asInvoker"], f"{arch}: execution levels {levels}")
    aware = [node.text for node in manifest.iter(WINDOWS_SETTINGS + "dpiAware")]
    check.expect(aware == ["true"], f"{arch}: dpiAware {aware}")
    dependencies = [(node.get("name"), node.get("version"))
                    for assembly in manifest.iter(ASM_V1 + "dependentAssembly")
                    for node in assembly.iter(ASM_V1 + "assemblyIdentity")]
    check.expect(dependencies == [("Microsoft.Windows.Common-Controls", "6.0.0.0")],
                 f"{arch}: dependent assemblies {dependencies}")
    systems = len(list(manifest.iter(COMPATIBILITY + "supportedOS")))
    check.expect(systems == SUPPORTED_SYSTEMS,
                 f"{arch}: {systems} supportedOS entries, expected {SUPPORTED_SYSTEMS}")
check.done()
