"""The built programs import system DLLs only: the MinGW runtime (libgcc, libstdc++,
winpthread) must be linked in, since a user's machine does not have it."""

import pefile

from static_check import Check

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll", "shell32.dll",
    "comctl32.dll", "comdlg32.dll", "ole32.dll", "oleaut32.dll", "version.dll", "winmm.dll",
    "imm32.dll", "uxtheme.dll", "shlwapi.dll", "ntdll.dll",
}

check = Check()
for arch, path in check.programs():
    pe = pefile.PE(str(path), fast_load=True)
    pe.parse_data_directories(directories=[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"]])
    entries = getattr(pe, "DIRECTORY_ENTRY_IMPORT", []) + getattr(
        pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])
    imported = sorted({entry.dll.decode().lower() for entry in entries})
    check.expect(imported, f"{arch}: no imports found at all")
    foreign = [dll for dll in imported if dll not in SYSTEM_DLLS]
    check.expect(not foreign, f"{arch}: imports DLLs that are not part of Windows: {foreign} "
                 f"(all imports: {imported})")
check.done()
