"""The program icon: group 1, language neutral, the only group, listing image 30001 (32 by 32)
and 30002 (16 by 16), both 8 bits per pixel with an AND mask and of the listed size."""

import struct

from pe_resources import LANG_NEUTRAL, RT_GROUP_ICON, RT_ICON, load
from static_check import Check

# Image identifier: width, height, bits per pixel, bytes.
IMAGES = {30001: (32, 32, 8, 2216), 30002: (16, 16, 8, 1384)}
GROUP_HEADER = "<HHH"  # reserved, type (1: icon), count
GROUP_ENTRY = "<BBBBHHIH"  # width, height, colours, reserved, planes, bits, bytes, identifier
BITMAP_HEADER = "<IiiHH"  # size, width, height, planes, bits

check = Check()
for arch, path in check.programs():
    _, found = load(path)
    groups = {name: list(languages) for (kind, name), languages in found.items()
              if kind == RT_GROUP_ICON}
    check.expect(groups == {1: [LANG_NEUTRAL]},
                 f"{arch}: icon groups by identifier and language: {groups}")
    group = found.get((RT_GROUP_ICON, 1), {}).get(LANG_NEUTRAL)
    if group is None:
        continue
    _, kind, count = struct.unpack_from(GROUP_HEADER, group)
    listed = {}
    for index in range(count):
        offset = struct.calcsize(GROUP_HEADER) + struct.calcsize(GROUP_ENTRY) * index
        width, height, _, _, _, bits, size, image = struct.unpack_from(GROUP_ENTRY, group, offset)
        listed[image] = (width, height, bits, size)
    check.expect(kind == 1 and listed == IMAGES,
                 f"{arch}: group of type {kind} lists {listed}, expected {IMAGES}")
    for image, (width, height, bits, size) in IMAGES.items():
        data = found.get((RT_ICON, image), {}).get(LANG_NEUTRAL)
        if data is None:
            check.expect(False, f"{arch}: no language-neutral icon image {image}")
            continue
        check.expect(len(data) == size, f"{arch}: image {image} has {len(data)} bytes, not {size}")
        # The colour rows and the AND mask below them: the header counts twice the height.
        _, header_width, header_height, _, header_bits = struct.unpack_from(BITMAP_HEADER, data)
        check.expect((header_width, header_height, header_bits) == (width, 2 * height, bits),
                     f"{arch}: image {image} header says {header_width} x {header_height} at "
                     f"{header_bits} bits, expected {width} x {2 * height} at {bits}")
check.done()
