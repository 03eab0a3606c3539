"""The program files stay small enough to mail and copy as one file: the i686 product at most
256 KiB, the x86_64 build at most 320 KiB (docs/PERFORMANCE.md has the sections' sizes)."""

from static_check import Check

LIMITS = {"i686": 256 * 1024, "x86_64": 320 * 1024}

check = Check()
for arch, path in check.programs():
    size = path.stat().st_size
    check.expect(size <= LIMITS[arch], f"{arch}: {path.name} is {size:,} bytes, "
                 f"over the limit of {LIMITS[arch]:,}")
check.done()
