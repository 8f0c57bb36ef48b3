#!/usr/bin/python3
"""Structural check of the shipped plug-in, read as a file.

Checks the PE headers, the export and import tables, and every resource byte
for byte. The expected bytes are encoded here from the plug-in's declared
values; nothing is taken from the file under test except the three version
strings whose wording is free (their presence is checked).

Usage: check_dll.py PATH/Pelvaro.aip
"""

import struct
import sys

try:
    import pefile
except ImportError:
    sys.exit("check_dll: the Python module pefile is missing; install the Debian package "
             "python3-pefile (scripts/bootstrap.sh does) and run it with /usr/bin/python3")

LANG_EN_GB = 0x0809
LANG_EN_US = 0x0409

RT_DIALOG = 5
RT_STRING = 6
RT_VERSION = 16
RT_MANIFEST = 24


# ---------------------------------------------------------------------------
# Encoders for the expected bytes

def fourcc(code):
    """A four-character code as the little-endian 32-bit integer of the code."""
    assert len(code) == 4
    return struct.pack("<I", int.from_bytes(code.encode("ascii"), "big"))


def utf16z(text):
    return text.encode("utf-16-le") + b"\0\0"


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def expected_pipl():
    def prop(key, data):
        return fourcc("ADBE") + fourcc(key) + struct.pack("<II", 0, len(data)) + data

    def text(value):
        # The text and zero bytes up to its length plus 2, rounded up to four.
        length = (len(value) + 2 + 3) // 4 * 4
        return value.encode("ascii").ljust(length, b"\0")

    props = [
        prop("kind", fourcc("SPEA")),
        prop("ivrs", struct.pack("<i", 2)),
        prop("wx86", text("PluginMain")),
        prop("pinm", text("Pelvaro")),
    ]
    return struct.pack("<hii", 1, 0, len(props)) + b"".join(props)


BUTTON, EDIT, STATIC = 0x0080, 0x0081, 0x0082

# Item id, class, text, x, y, width, height, style; in template (tab) order.
DIALOG_ITEMS = [
    (1, BUTTON, "OK", 61, 90, 43, 12, 0x50010001),
    (2, BUTTON, "Cancel", 9, 90, 43, 12, 0x50010000),
    (3, STATIC, "move range", 12, 16, 43, 9, 0x50020002),
    (6, EDIT, "", 60, 13, 41, 12, 0x50810080),
    (7, BUTTON, "random fill color", 22, 31, 70, 12, 0x50010023),
    (4, STATIC, "gray min.", 12, 52, 43, 9, 0x50020002),
    (8, EDIT, "", 60, 49, 41, 12, 0x50810080),
    (5, STATIC, "gray max.", 12, 70, 43, 9, 0x50020002),
    (9, EDIT, "", 60, 67, 41, 12, 0x50810080),
]


def expected_dialog_header():
    """Classic DLGTEMPLATE: no menu, no class, caption, then the font."""
    return (struct.pack("<IIHhhhh", 0x90C800C0, 0, len(DIALOG_ITEMS), 0, 0, 115, 111)
            + struct.pack("<HH", 0, 0) + utf16z("Pelvaro")
            + struct.pack("<H", 8) + utf16z("MS Sans Serif"))


def expected_dialog_item(item):
    item_id, atom, text, x, y, cx, cy, style = item
    return (struct.pack("<IIhhhhH", style, 0, x, y, cx, cy, item_id)
            + struct.pack("<HH", 0xFFFF, atom) + utf16z(text) + struct.pack("<H", 0))


def expected_string_block():
    """Block 1001 holds the ids 16000 to 16015, each a counted UTF-16 string."""
    strings = {16000: "<First Mac index is 1>", 16001: "tovi plug-ins", 16002: "Pelvaro"}
    out = b""
    for string_id in range(16000, 16016):
        text = strings.get(string_id, "")
        out += struct.pack("<H", len(text)) + text.encode("utf-16-le")
    return out


VERSION_STRINGS = [  # None: the wording is free, the entry must be there and not empty
    ("CompanyName", None),
    ("FileDescription", None),
    ("FileVersion", "0.1b"),
    ("InternalName", "Pelvaro"),
    ("LegalCopyright", None),
    ("OriginalFilename", "Pelvaro.aip"),
    ("ProductName", "Pelvaro"),
    ("ProductVersion", "0.1b"),
]


def version_node(key, value=b"", value_length=0, text=False, children=()):
    """One node of the version tree; children start on four-byte boundaries."""
    body = pad4(struct.pack("<HHH", 0, value_length, 1 if text else 0) + utf16z(key)) + value
    for child in children:
        body = pad4(body) + child
    return struct.pack("<H", len(body)) + body[2:]


def expected_version(free_values):
    fixed = struct.pack("<13I",
                        0xFEEF04BD, 0x00010000,  # signature, structure version
                        0x00000001, 0x00000002,  # file version 0.1.0.2
                        0x00000001, 0x00000002,  # product version 0.1.0.2
                        0x3F, 0,                 # flags mask, flags
                        4, 2, 0,                 # OS 32-bit Windows, type DLL, subtype
                        0, 0)                    # date
    strings = []
    for key, value in VERSION_STRINGS:
        value = free_values[key] if value is None else value
        strings.append(version_node(key, utf16z(value), len(value) + 1, text=True))
    var_info = version_node("VarFileInfo", text=True, children=[
        version_node("Translation", struct.pack("<HH", 0x0409, 0x04E4), 4)])
    string_info = version_node("StringFileInfo", text=True, children=[
        version_node("040904E4", text=True, children=strings)])
    return version_node("VS_VERSION_INFO", fixed, len(fixed), children=[var_info, string_info])


EXPECTED_MANIFEST = (b'<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">'
                     b"\r\n</assembly>")


# ---------------------------------------------------------------------------
# Reading the file under test

def parse_version_strings(data):
    """The string values of the version resource, by walking its tree."""
    def nodes(buf, start, end):
        pos = start
        while pos + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", buf, pos)
            if length < 6 or pos + length > end:
                raise ValueError(f"version node at offset {pos} has length {length}")
            key_end = pos + 6
            while buf[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = buf[pos + 6:key_end].decode("utf-16-le")
            value_start = (key_end + 2 + 3) // 4 * 4
            yield key, value_length, kind, value_start, pos + length
            pos = (pos + length + 3) // 4 * 4

    values = {}
    for key, _, _, value_start, node_end in nodes(data, 0, len(data)):
        children = (value_start + 52 + 3) // 4 * 4
        for block, _, _, block_start, block_end in nodes(data, children, node_end):
            if block != "StringFileInfo":
                continue
            for _, _, _, table_start, table_end in nodes(data, block_start, block_end):
                for name, count, _, value, _ in nodes(data, table_start, table_end):
                    raw = data[value:value + 2 * count]
                    values[name] = raw.decode("utf-16-le").rstrip("\0")
    return values


def first_difference(actual, expected):
    for i, (a, b) in enumerate(zip(actual, expected)):
        if a != b:
            return f"first difference at byte {i}: 0x{a:02X}, expected 0x{b:02X}"
    return f"{len(actual)} bytes, expected {len(expected)}"


class Checker:
    def __init__(self, pe):
        self.pe = pe
        self.passed = 0
        self.failed = 0
        self.resources = self._resources()

    def check(self, what, ok, detail=""):
        if ok:
            self.passed += 1
            print(f"ok      {what}")
        else:
            self.failed += 1
            print(f"FAILED  {what}" + (f": {detail}" if detail else ""))

    def same_bytes(self, what, actual, expected):
        if actual is None:
            self.check(what, False, "resource missing")
        else:
            self.check(what, actual == expected, first_difference(actual, expected))

    def _resources(self):
        """{(type, id, language): bytes}; named types and ids are kept as strings."""
        found = {}
        root = getattr(self.pe, "DIRECTORY_ENTRY_RESOURCE", None)
        if root is None:
            return found
        for rtype in root.entries:
            type_key = str(rtype.name) if rtype.name is not None else rtype.id
            for rid in rtype.directory.entries:
                id_key = str(rid.name) if rid.name is not None else rid.id
                for lang in rid.directory.entries:
                    entry = lang.data.struct
                    found[(type_key, id_key, lang.id)] = self.pe.get_data(entry.OffsetToData,
                                                                          entry.Size)
        return found

    def headers(self):
        fh, oh = self.pe.FILE_HEADER, self.pe.OPTIONAL_HEADER
        self.check("machine is i386", fh.Machine == 0x014C, f"machine 0x{fh.Machine:04X}")
        self.check("file is a DLL", fh.Characteristics & 0x2000 != 0,
                   f"characteristics 0x{fh.Characteristics:04X}")
        self.check("optional header is PE32", oh.Magic == 0x010B, f"magic 0x{oh.Magic:04X}")

    def exports(self):
        exports = getattr(self.pe, "DIRECTORY_ENTRY_EXPORT", None)
        if exports is None:
            self.check("export table present", False)
            return
        name = self.pe.get_string_at_rva(exports.struct.Name)
        self.check('export table names "Pelvaro.aip"', name == b"Pelvaro.aip", repr(name))
        symbols = [(s.name, s.forwarder, s.address) for s in exports.symbols]
        names = [s[0] for s in symbols]
        self.check("exactly one export, PluginMain (undecorated)", names == [b"PluginMain"],
                   f"exports {names}")
        if names == [b"PluginMain"]:
            _, forwarder, rva = symbols[0]
            section = self.pe.get_section_by_rva(rva)
            executable = section is not None and section.Characteristics & 0x20000000 != 0
            self.check("PluginMain is code in this file", forwarder is None and executable,
                       f"forwarder {forwarder!r}, rva 0x{rva:X}")

    def imports(self):
        dlls = sorted(e.dll.decode().lower() for e in getattr(self.pe, "DIRECTORY_ENTRY_IMPORT", []))
        self.check("imports only KERNEL32.dll and msvcrt.dll", dlls == ["kernel32.dll", "msvcrt.dll"],
                   f"imports {dlls}")
        delayed = getattr(self.pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])
        self.check("no delay-loaded imports", not delayed, f"{[e.dll for e in delayed]}")

    def declaration(self):
        self.same_bytes('PiPL "PIPL" 16000, English (UK), 106 bytes',
                        self.resources.get(("PIPL", 16000, LANG_EN_GB)), expected_pipl())

    def dialog(self):
        data = self.resources.get((RT_DIALOG, 16000, LANG_EN_GB))
        if data is None:
            self.check("dialog 16000, English (UK)", False, "resource missing")
            return
        header = expected_dialog_header()
        self.same_bytes("dialog 16000 header", data[:len(header)], header)
        pos = len(header)
        for item in DIALOG_ITEMS:
            pos = (pos + 3) // 4 * 4
            expected = expected_dialog_item(item)
            self.same_bytes(f'dialog 16000 item {item[0]} "{item[2]}"',
                            data[pos:pos + len(expected)], expected)
            pos += len(expected)
        self.check("dialog 16000 ends after its nine items", len(data) == pos,
                   f"{len(data)} bytes, expected {pos}")

    def strings(self):
        self.same_bytes("string list 16000 to 16002, English (UK)",
                        self.resources.get((RT_STRING, 16000 // 16 + 1, LANG_EN_GB)),
                        expected_string_block())

    def version(self):
        data = self.resources.get((RT_VERSION, 1, LANG_EN_US))
        if data is None:
            self.check("version information 1, English (US)", False, "resource missing")
            return
        try:
            values = parse_version_strings(data)
        except ValueError as error:
            self.check("version information is well formed", False, str(error))
            return
        free = {}
        for key, value in VERSION_STRINGS:
            if value is None:
                free[key] = values.get(key, "")
                self.check(f"version string {key} is present and not empty", free[key] != "")
        self.same_bytes("version information 1 (fixed part, VarFileInfo then StringFileInfo, "
                        "translation 0409/04E4, strings)", data, expected_version(free))

    def manifest(self):
        self.same_bytes("manifest 24/2, English (US), 86 bytes",
                        self.resources.get((RT_MANIFEST, 2, LANG_EN_US)), EXPECTED_MANIFEST)

    def no_other_resources(self):
        known = {("PIPL", 16000, LANG_EN_GB), (RT_DIALOG, 16000, LANG_EN_GB),
                 (RT_STRING, 16000 // 16 + 1, LANG_EN_GB), (RT_VERSION, 1, LANG_EN_US),
                 (RT_MANIFEST, 2, LANG_EN_US)}
        extra = sorted(str(key) for key in set(self.resources) - known)
        self.check("no other resources", not extra, f"unexpected {extra}")


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: check_dll.py PATH/Pelvaro.aip")
    path = argv[1]
    try:
        pe = pefile.PE(path)
    except FileNotFoundError:
        sys.exit(f"check_dll: {path} does not exist; build it first with `make dll`")
    except pefile.PEFormatError as error:
        sys.exit(f"check_dll: {path} is not a PE file ({error}); rebuild it with `make dll`")
    checker = Checker(pe)
    for step in (checker.headers, checker.exports, checker.imports, checker.declaration,
                 checker.dialog, checker.strings, checker.version, checker.manifest,
                 checker.no_other_resources):
        step()
    print(f"{path}: {checker.passed} passed, {checker.failed} failed")
    return 0 if checker.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
