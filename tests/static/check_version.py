"""The version block that the file's properties show, exactly: one version resource 1 in U.S.
English, version 0.4.0.0 for a 32-bit Windows application, one Unicode U.S. English string
table with six strings in order; and no string table, so the system lists the saver under its
file name."""

from pe_resources import LANG_EN_US, RT_STRING, RT_VERSION, load
from static_check import Check

FIXED = {
    "FileVersionMS": 0x0000_0004, "FileVersionLS": 0,  # 0.4.0.0
    "ProductVersionMS": 0x0000_0004, "ProductVersionLS": 0,
    "FileFlagsMask": 0, "FileFlags": 0, "FileOS": 4, "FileType": 1, "FileSubtype": 0,
    "FileDateMS": 0, "FileDateLS": 0,
}
STRINGS = [
    ("CompanyName", "Quorlin Works"),
    ("ProductName", "Flying Quorlin ScreenSaver"),
    ("FileVersion", "0.04"),
    ("ProductVersion", "0.04"),
    ("InternalName", "FlyingQuorlin"),
    ("OriginalFilename", "FlyingQuorlin.scr"),
]

check = Check()
for arch, path in check.programs():
    pe, found = load(path)
    versions = {name: list(languages) for (kind, name), languages in found.items()
                if kind == RT_VERSION}
    check.expect(versions == {1: [LANG_EN_US]},
                 f"{arch}: version resources by identifier and language: {versions}")
    string_tables = sorted(name for kind, name in found if kind == RT_STRING)
    check.expect(not string_tables, f"{arch}: string-table resources {string_tables}")
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        check.expect(False, f"{arch}: no version block")
        continue
    fixed = pe.VS_FIXEDFILEINFO[0]
    wrong = {field: f"{getattr(fixed, field):#x}, expected {expected:#x}"
             for field, expected in FIXED.items() if getattr(fixed, field) != expected}
    check.expect(not wrong, f"{arch}: fixed part differs: {wrong}")
    tables, translations = [], []
    for block in pe.FileInfo[0]:
        tables += getattr(block, "StringTable", [])
        translations += [var.entry for var in getattr(block, "Var", [])]
    languages = [table.LangID.decode() for table in tables]
    check.expect(languages == ["040904B0"], f"{arch}: string tables {languages}")
    strings = [(key.decode(), value.decode()) for table in tables
               for key, value in table.entries.items()]
    check.expect(strings == STRINGS, f"{arch}: strings {strings}, expected {STRINGS}")
    check.expect(translations == [{b"Translation": "0x0409 0x04b0"}],
                 f"{arch}: translations {translations}")
check.done()
