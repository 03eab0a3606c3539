"""The built programs are GUI-subsystem Windows executables of the right kind: the product
is a PE32 file for i386 ("PE32 executable (GUI) Intel 80386" in `file`'s words), the Wine
test build a PE32+ file for x86-64."""

import subprocess

import pefile

from static_check import Check

EXPECTED = {
    # arch: (file's description, machine, optional-header magic)
    "i686": ("PE32 executable (GUI) Intel 80386", 0x14C, 0x10B),
    "x86_64": ("PE32+ executable (GUI) x86-64", 0x8664, 0x20B),
}
GUI_SUBSYSTEM = 2

check = Check()
for arch, path in check.programs():
    description, machine, magic = EXPECTED[arch]
    said = subprocess.run(["file", "-b", str(path)], capture_output=True, text=True,
                          check=True).stdout.strip()
    check.expect(said.startswith(description), f"{arch}: `file` says {said!r}, "
                 f"expected it to start with {description!r}")
    pe = pefile.PE(str(path), fast_load=True)
    check.expect(pe.FILE_HEADER.Machine == machine,
                 f"{arch}: machine {pe.FILE_HEADER.Machine:#x}, expected {machine:#x}")
    check.expect(pe.OPTIONAL_HEADER.Magic == magic,
                 f"{arch}: optional header magic {pe.OPTIONAL_HEADER.Magic:#x}, "
                 f"expected {magic:#x}")
    check.expect(pe.OPTIONAL_HEADER.Subsystem == GUI_SUBSYSTEM,
                 f"{arch}: subsystem {pe.OPTIONAL_HEADER.Subsystem}, expected {GUI_SUBSYSTEM} "
                 "(GUI, so that no console opens)")
check.done()
