"""The resources of a built program as pefile reads them, for the check_*.py scripts."""

import pefile

RT_ICON, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 6, 14, 16, 24
LANG_NEUTRAL, LANG_EN_US = 0, 1033


def load(path):
    """(pefile.PE, {(type, identifier): {language: bytes}}) of the file at `path`."""
    pe = pefile.PE(str(path))
    found = {}
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in directory.entries if directory else []:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                entry = language.data.struct
                found.setdefault((kind.id, name.id), {})[language.id] = pe.get_data(
                    entry.OffsetToData, entry.Size)
    return pe, found
