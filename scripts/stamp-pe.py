"""Gives Windows programs the release's time, SOURCE_DATE_EPOCH, in their PE header, with the
checksum that goes with it: makensis leaves its installers and uninstallers the time their stub
was built, and no checksum. Usage: stamp-pe.py FILE..."""

import os
import sys

import pefile

for path in sys.argv[1:]:
    pe = pefile.PE(path)
    pe.FILE_HEADER.TimeDateStamp = int(os.environ["SOURCE_DATE_EPOCH"])
    pe = pefile.PE(data=pe.write())
    pe.OPTIONAL_HEADER.CheckSum = pe.generate_checksum()
    with open(path, "wb") as file:
        file.write(pe.write())
