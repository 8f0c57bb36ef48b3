#!/usr/bin/python3
"""Structural check of the shipped plug-in, read as a file.

Checks the PE headers, the export and import tables, and every resource byte
for byte. The expected bytes are encoded here from the plug-in's declared
values; nothing is taken from the file under test except the three version
strings whose wording is free (their presence is checked).

Usage: check_dll.py PATH/Pelvaro.aip
"""

import json
import os
import struct
import sys

try:
    import pefile
except ImportError:
    sys.exit("check_dll: the Python module pefile is missing; install the Debian package "
             "python3-pefile (scripts/bootstrap.sh does) and run it with /usr/bin/python3")

RT_DIALOG = 5
RT_STRING = 6
RT_VERSION = 16
RT_MANIFEST = 24

# What the resources must be, value by value; the C++ resource tests read the
# same description.
EXPECTED_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures",
                             "expected-resources.json")


def number(value):
    """A number of the description: an integer, or hexadecimal digits after "0x"."""
    return value if isinstance(value, int) else int(value, 16)


def load_expected(path=EXPECTED_FILE):
    try:
        with open(path, encoding="utf-8") as f:
            return json.load(f)
    except (OSError, ValueError) as error:
        sys.exit(f"check_dll: cannot read the expected resources {path}: {error}")


EXPECTED = load_expected()


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
    def prop(vendor, key, data):
        return fourcc(vendor) + fourcc(key) + struct.pack("<II", 0, len(data)) + data

    def text(value):
        # The text and zero bytes up to its length plus 2, rounded up to four.
        length = (len(value) + 2 + 3) // 4 * 4
        return value.encode("ascii").ljust(length, b"\0")

    props = []
    for p in EXPECTED["pipl"]["properties"]:
        if "code" in p:
            data = fourcc(p["code"])
        elif "int32" in p:
            data = struct.pack("<i", p["int32"])
        else:
            data = text(p["text"])
        props.append(prop(p["vendor"], p["key"], data))
    return struct.pack("<hii", number(EXPECTED["pipl"]["version"]), 0, len(props)) + b"".join(props)


CLASS_ATOMS = {"button": 0x0080, "edit": 0x0081, "static": 0x0082}

# Item id, class, text, x, y, width, height, style; in template (tab) order.
DIALOG_ITEMS = [(number(i["id"]), CLASS_ATOMS[i["class"]], i["text"], *i["rect"], number(i["style"]))
                for i in EXPECTED["dialog"]["items"]]


def expected_dialog_header():
    """Classic DLGTEMPLATE: no menu, no class, caption, then the font."""
    d = EXPECTED["dialog"]
    return (struct.pack("<IIHhhhh", number(d["style"]), 0, len(DIALOG_ITEMS), *d["rect"])
            + struct.pack("<HH", 0, 0) + utf16z(d["caption"])
            + struct.pack("<H", number(d["pointSize"])) + utf16z(d["font"]))


def expected_dialog_item(item):
    item_id, atom, text, x, y, cx, cy, style = item
    return (struct.pack("<IIhhhhH", style, 0, x, y, cx, cy, item_id)
            + struct.pack("<HH", 0xFFFF, atom) + utf16z(text) + struct.pack("<H", 0))


STRING_FIRST = number(EXPECTED["strings"]["first"])


def expected_string_block():
    """The block of sixteen counted UTF-16 strings that holds the list."""
    texts = EXPECTED["strings"]["texts"]
    out = b""
    for i in range(16):
        text = texts[i] if i < len(texts) else ""
        out += struct.pack("<H", len(text)) + text.encode("utf-16-le")
    return out


# None: the wording is free, the entry must be there and not empty.
VERSION_STRINGS = [(e["key"], e["value"]) for e in EXPECTED["version"]["strings"]]


def version_node(key, value=b"", value_length=0, text=False, children=()):
    """One node of the version tree; children start on four-byte boundaries."""
    body = pad4(struct.pack("<HHH", 0, value_length, 1 if text else 0) + utf16z(key)) + value
    for child in children:
        body = pad4(body) + child
    return struct.pack("<H", len(body)) + body[2:]


def expected_version(free_values):
    v = EXPECTED["version"]
    file_version, product_version = v["fileVersion"], v["productVersion"]
    fixed = struct.pack("<13I",
                        0xFEEF04BD, 0x00010000,  # signature, structure version
                        file_version[0] << 16 | file_version[1],
                        file_version[2] << 16 | file_version[3],
                        product_version[0] << 16 | product_version[1],
                        product_version[2] << 16 | product_version[3],
                        number(v["flagsMask"]), number(v["flags"]),
                        number(v["os"]), number(v["type"]), number(v["subtype"]),
                        0, 0)                    # date
    strings = []
    for key, value in VERSION_STRINGS:
        value = free_values[key] if value is None else value
        strings.append(version_node(key, utf16z(value), len(value) + 1, text=True))
    language, code_page = (number(x) for x in v["translation"])
    blocks = {
        "VarFileInfo": version_node("VarFileInfo", text=True, children=[
            version_node("Translation", struct.pack("<HH", language, code_page), 4)]),
        "StringFileInfo": version_node("StringFileInfo", text=True, children=[
            version_node(f"{language:04X}{code_page:04X}", text=True, children=strings)]),
    }
    return version_node("VS_VERSION_INFO", fixed, len(fixed),
                        children=[blocks[name] for name in v["blockOrder"]])


EXPECTED_MANIFEST = EXPECTED["manifest"]["text"].encode("utf-8")


def key_of(part, rtype, rid=None):
    """The (type, id, language) under which the description's part is stored."""
    p = EXPECTED[part]
    return (rtype, number(p["id"]) if rid is None else rid, number(p["language"]))


PIPL_KEY = key_of("pipl", "PIPL")
DIALOG_KEY = key_of("dialog", RT_DIALOG)
STRINGS_KEY = (RT_STRING, STRING_FIRST // 16 + 1, number(EXPECTED["strings"]["language"]))
VERSION_KEY = key_of("version", RT_VERSION)
MANIFEST_KEY = key_of("manifest", RT_MANIFEST)


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
        self.same_bytes(f'PiPL "PIPL" {PIPL_KEY[1]}, language 0x{PIPL_KEY[2]:04X}, '
                        f'{EXPECTED["pipl"]["size"]} bytes',
                        self.resources.get(PIPL_KEY), expected_pipl())

    def dialog(self):
        data = self.resources.get(DIALOG_KEY)
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
                        self.resources.get(STRINGS_KEY),
                        expected_string_block())

    def version(self):
        data = self.resources.get(VERSION_KEY)
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
                        self.resources.get(MANIFEST_KEY), EXPECTED_MANIFEST)

    def no_other_resources(self):
        known = {PIPL_KEY, DIALOG_KEY, STRINGS_KEY, VERSION_KEY, MANIFEST_KEY}
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
