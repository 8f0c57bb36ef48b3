// The compiled resources of the plug-in, byte for byte, against the values
// they must have; then the reader's and the declaration check's answers to
// small hand-made bad inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "headless/winres/Declaration.h"
#include "headless/winres/DialogTemplate.h"
#include "headless/winres/Pipl.h"
#include "headless/winres/ResFile.h"
#include "headless/winres/ResourceError.h"
#include "headless/winres/StringTable.h"
#include "headless/winres/VersionInfo.h"

using namespace headless;

namespace {

// Little-endian bytes, written the way the resource formats lay them out.
struct Bytes {
    std::vector<uint8_t> b;

    Bytes& U16(uint32_t v) {
        b.push_back(static_cast<uint8_t>(v & 0xFF));
        b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        return *this;
    }
    Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    // A four-character code as a little-endian integer: 'ADBE' is E B D A.
    Bytes& Code(const char (&code)[5]) {
        for (int i = 3; i >= 0; --i) b.push_back(static_cast<uint8_t>(code[i]));
        return *this;
    }
    // text, then zero bytes up to length.
    Bytes& Padded(const std::string& text, size_t length) {
        b.insert(b.end(), text.begin(), text.end());
        b.resize(b.size() + length - text.size(), 0);
        return *this;
    }
    // Zero-terminated UTF-16 (ASCII text only).
    Bytes& Str16(const std::string& text) {
        for (char c : text) U16(static_cast<uint8_t>(c));
        return U16(0);
    }
    Bytes& Align4() {
        while (b.size() % 4 != 0) b.push_back(0);
        return *this;
    }
    Bytes& Append(const std::vector<uint8_t>& more) {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
};

// Equal bytes, or the first offset where they differ.
testing::AssertionResult SameBytes(const std::vector<uint8_t>& actual,
                                   const std::vector<uint8_t>& expected) {
    const size_t common = std::min(actual.size(), expected.size());
    const auto diff = std::mismatch(actual.begin(), actual.begin() + common, expected.begin());
    const auto at = static_cast<size_t>(diff.first - actual.begin());
    if (at == common && actual.size() == expected.size()) return testing::AssertionSuccess();
    std::ostringstream text;
    text << actual.size() << " bytes, expected " << expected.size() << "; ";
    if (at < common) {
        text << "first difference at byte " << at << ": 0x" << std::hex << int{actual[at]}
             << ", expected 0x" << int{expected[at]};
    } else {
        text << "equal up to byte " << at;
    }
    return testing::AssertionFailure() << text.str();
}

const ResourceSet& Compiled() {
    static const ResourceSet set = LoadResFile(PELVARO_RES_FILE);
    return set;
}

// The bytes of one resource of the compiled file in the given language.
std::vector<uint8_t> CompiledBytes(const ResourceId& type, uint16_t name, uint16_t language) {
    const ResourceEntry* entry = Compiled().FindEntry(type, name, language);
    if (entry == nullptr) {
        ADD_FAILURE() << "no " << DescribeResource(type, name) << " in language 0x" << std::hex
                      << language << " in " << PELVARO_RES_FILE;
        return {};
    }
    return entry->bytes;
}

std::string Where(const ResourceId& type, uint16_t name) {
    return Compiled().Origin() + ": " + DescribeResource(type, name);
}

// --- The compiled resources ----------------------------------------------------

// One property: vendor 'ADBE', key, id 0, data length, data.
void AddProperty(Bytes& pipl, const char (&key)[5], const Bytes& data) {
    pipl.Code("ADBE").Code(key).U32(0).U32(static_cast<uint32_t>(data.b.size())).Append(data.b);
}

TEST(CompiledResources, PiplIsTheDeclaredHundredAndSixBytes) {
    Bytes expected;
    expected.U16(1).U32(0).U32(4);
    AddProperty(expected, "kind", Bytes().Code("SPEA"));
    AddProperty(expected, "ivrs", Bytes().U32(2));
    AddProperty(expected, "wx86", Bytes().Padded("PluginMain", 12));
    AddProperty(expected, "pinm", Bytes().Padded("Pelvaro", 12));
    ASSERT_EQ(expected.b.size(), 106u);
    ASSERT_EQ(std::string(expected.b.begin() + 10, expected.b.begin() + 14), "EBDA");

    const std::vector<uint8_t> bytes = CompiledBytes(ResourceId(kPiplType), 16000, kLangEnglishUK);
    EXPECT_TRUE(SameBytes(bytes, expected.b));

    const DeclarationCheck check = CheckModuleDeclaration(Compiled());
    ASSERT_TRUE(check.ok()) << check.error;
    EXPECT_EQ(check.declaration->kind, "SPEA");
    EXPECT_EQ(check.declaration->interfaceVersion, 2);
    EXPECT_EQ(check.declaration->entryPoint, "PluginMain");
    EXPECT_EQ(check.declaration->name, "Pelvaro");
}

struct ExpectedItem {
    uint16_t id;
    uint16_t atom;
    ControlKind kind;
    std::string text;
    int16_t x, y, cx, cy;
    uint32_t style;
};

// The parameters dialog's controls, in template (tab) order.
const ExpectedItem kDialogItems[] = {
    {1, kButtonClass, ControlKind::DefaultPushButton, "OK", 61, 90, 43, 12, 0x50010001},
    {2, kButtonClass, ControlKind::PushButton, "Cancel", 9, 90, 43, 12, 0x50010000},
    {3, kStaticClass, ControlKind::StaticText, "move range", 12, 16, 43, 9, 0x50020002},
    {6, kEditClass, ControlKind::EditText, "", 60, 13, 41, 12, 0x50810080},
    {7, kButtonClass, ControlKind::CheckBox, "random fill color", 22, 31, 70, 12, 0x50010023},
    {4, kStaticClass, ControlKind::StaticText, "gray min.", 12, 52, 43, 9, 0x50020002},
    {8, kEditClass, ControlKind::EditText, "", 60, 49, 41, 12, 0x50810080},
    {5, kStaticClass, ControlKind::StaticText, "gray max.", 12, 70, 43, 9, 0x50020002},
    {9, kEditClass, ControlKind::EditText, "", 60, 67, 41, 12, 0x50810080},
};

TEST(CompiledResources, DialogIsTheClassicTemplateWithNineItemsInOrder) {
    Bytes expected;
    expected.U32(0x90C800C0).U32(0).U16(9).U16(0).U16(0).U16(115).U16(111);
    expected.U16(0).U16(0).Str16("Pelvaro").U16(8).Str16("MS Sans Serif");
    for (const ExpectedItem& item : kDialogItems) {
        expected.Align4().U32(item.style).U32(0);
        expected.U16(static_cast<uint16_t>(item.x)).U16(static_cast<uint16_t>(item.y));
        expected.U16(static_cast<uint16_t>(item.cx)).U16(static_cast<uint16_t>(item.cy));
        expected.U16(item.id).U16(0xFFFF).U16(item.atom).Str16(item.text).U16(0);
    }
    const std::vector<uint8_t> bytes = CompiledBytes(kDialogType, 16000, kLangEnglishUK);
    EXPECT_TRUE(SameBytes(bytes, expected.b));

    const DialogTemplate dialog = DecodeDialog(bytes, Where(kDialogType, 16000));
    EXPECT_EQ(dialog.style, 0x90C800C0u);
    EXPECT_EQ(dialog.extendedStyle, 0u);
    EXPECT_EQ((std::vector<int>{dialog.x, dialog.y, dialog.cx, dialog.cy}),
              (std::vector<int>{0, 0, 115, 111}));
    EXPECT_EQ(dialog.menu, ResourceId(u""));
    EXPECT_EQ(dialog.windowClass, ResourceId(u""));
    EXPECT_EQ(dialog.caption, "Pelvaro");
    EXPECT_TRUE(dialog.hasFont);
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.fontFace, "MS Sans Serif");
    ASSERT_EQ(dialog.items.size(), std::size(kDialogItems));
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItem& got = dialog.items[i];
        const ExpectedItem& want = kDialogItems[i];
        SCOPED_TRACE("item " + std::to_string(i + 1) + ", id " + std::to_string(want.id));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.windowClass, ResourceId(want.atom));
        EXPECT_EQ(got.Kind(), want.kind) << ControlKindName(got.Kind());
        EXPECT_FALSE(got.text.IsOrdinal());
        EXPECT_EQ(got.Text(), want.text);
        EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}),
                  (std::vector<int>{want.x, want.y, want.cx, want.cy}));
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.extendedStyle, 0u);
        EXPECT_TRUE(got.creationData.empty());
        EXPECT_EQ(dialog.Item(want.id), &got);
    }
}

TEST(CompiledResources, StringListHoldsThreeEnglishUkStrings) {
    // Block 1001 holds ids 16000 to 16015; only the first three are present.
    Bytes expected;
    for (const std::string& text : {std::string("<First Mac index is 1>"),
                                    std::string("tovi plug-ins"), std::string("Pelvaro")}) {
        expected.U16(static_cast<uint32_t>(text.size()));
        for (char c : text) expected.U16(static_cast<uint8_t>(c));
    }
    for (int i = 3; i < 16; ++i) expected.U16(0);
    EXPECT_TRUE(
        SameBytes(CompiledBytes(kStringType, StringBlockId(16000), kLangEnglishUK), expected.b));

    EXPECT_EQ(FindString(Compiled(), 16000, kLangEnglishUK), "<First Mac index is 1>");
    EXPECT_EQ(FindString(Compiled(), 16001, kLangEnglishUK), "tovi plug-ins");
    EXPECT_EQ(FindString(Compiled(), 16002, kLangEnglishUK), "Pelvaro");
    EXPECT_EQ(FindString(Compiled(), 16003, kLangEnglishUK), std::nullopt);
    EXPECT_EQ(FindString(Compiled(), 16001, kLangEnglishUS), std::nullopt);
    EXPECT_EQ(FindString(Compiled(), 16001, std::nullopt), "tovi plug-ins");
}

TEST(CompiledResources, VersionInformation) {
    const VersionInfo info =
        DecodeVersionInfo(CompiledBytes(kVersionType, 1, kLangEnglishUS), Where(kVersionType, 1));
    const FixedFileInfo& fixed = info.fixed;
    EXPECT_EQ(fixed.signature, kFixedFileInfoSignature);
    EXPECT_EQ(fixed.FileVersion(), (std::array<uint16_t, 4>{0, 1, 0, 2}));
    EXPECT_EQ(fixed.ProductVersion(), (std::array<uint16_t, 4>{0, 1, 0, 2}));
    EXPECT_EQ(fixed.fileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed.fileFlags, 0u);
    EXPECT_EQ(fixed.fileOS, 4u);
    EXPECT_EQ(fixed.fileType, 2u);
    EXPECT_EQ(fixed.fileSubtype, 0u);

    EXPECT_EQ(info.BlockOrder(), (std::vector<std::string>{"VarFileInfo", "StringFileInfo"}));
    EXPECT_EQ(info.translations, (std::vector<Translation>{{0x0409, 0x04E4}}));
    ASSERT_EQ(info.stringTables.size(), 1u);
    const VersionStringTable& table = info.stringTables.front();
    EXPECT_EQ(table.key, "040904E4");

    std::vector<std::string> keys;
    for (const auto& entry : table.values) keys.push_back(entry.first);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"CompanyName", "FileDescription", "FileVersion",
                                              "InternalName", "LegalCopyright", "OriginalFilename",
                                              "ProductName", "ProductVersion"}));
    const std::pair<const char*, const char*> given[] = {
        {"FileVersion", "0.1b"},
        {"InternalName", "Pelvaro"},
        {"OriginalFilename", "Pelvaro.aip"},
        {"ProductName", "Pelvaro"},
        {"ProductVersion", "0.1b"},
    };
    for (const auto& [key, value] : given) {
        ASSERT_NE(table.Value(key), nullptr) << key;
        EXPECT_EQ(*table.Value(key), value) << key;
    }
    // The maker's wording: present and not empty.
    for (const char* key : {"CompanyName", "FileDescription", "LegalCopyright"}) {
        ASSERT_NE(table.Value(key), nullptr) << key;
        EXPECT_FALSE(table.Value(key)->empty()) << key;
    }
}

TEST(CompiledResources, ManifestIsTheExactEightySixBytes) {
    const std::string expected =
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
        "</assembly>";
    ASSERT_EQ(expected.size(), 86u);
    const std::vector<uint8_t> bytes = CompiledBytes(kManifestType, 2, kLangEnglishUS);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

TEST(CompiledResources, PluginNameIsDialogCaptionAndTitle) {
    const DeclarationCheck check = CheckModuleDeclaration(Compiled());
    ASSERT_TRUE(check.ok()) << check.error;
    const auto dialog = FindDialog(Compiled(), 16000, kLangEnglishUK);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(check.declaration->name, dialog->caption);
    EXPECT_EQ(FindString(Compiled(), 16002, kLangEnglishUK), check.declaration->name);
}

// --- The .res reader on bad files ---------------------------------------------

Bytes EmptyEntry() {
    Bytes res;
    res.U32(0).U32(32).U16(0xFFFF).U16(0).U16(0xFFFF).U16(0);
    res.b.resize(32, 0);
    return res;
}

// One entry with an ordinal type and name: header size 32.
Bytes& AddEntry(Bytes& res, uint32_t dataSize, uint32_t headerSize, size_t actualDataBytes) {
    res.U32(dataSize).U32(headerSize).U16(0xFFFF).U16(kDialogType).U16(0xFFFF).U16(1);
    res.U32(0).U16(0x1030).U16(kLangEnglishUK).U32(0).U32(0);
    res.b.resize(res.b.size() + actualDataBytes, 0xAB);
    return res;
}

struct BadFile {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* message;  // the whole message, after the file name
};

TEST(ResFileReader, RefusesBadFilesNamingFileOffsetAndFault) {
    Bytes noEmptyEntry;
    Bytes shortHeader = EmptyEntry();
    shortHeader.U32(8).U16(32);
    Bytes claimsMore = EmptyEntry();
    claimsMore.U32(0).U32(32).U32(0xFFFF0005);
    Bytes pastEnd = EmptyEntry();
    AddEntry(pastEnd, 100, 32, 8);
    Bytes unaligned = EmptyEntry();
    AddEntry(unaligned, 4, 34, 6);
    Bytes longerFields = EmptyEntry();  // a string type in a 32-byte header
    longerFields.U32(0).U32(32).Str16("PIPL").U16(0xFFFF).U16(16000).Align4();
    longerFields.U32(0).U16(0x1030).U16(kLangEnglishUK).U32(0).U32(0);
    Bytes afterGood = EmptyEntry();
    AddEntry(afterGood, 2, 32, 4);  // two data bytes and two of padding
    afterGood.U16(0);

    const BadFile cases[] = {
        {"empty", {}, "byte 0: empty file, not a .res file"},
        {"no empty entry", AddEntry(noEmptyEntry, 0, 32, 0).b,
         "byte 0: not a 32-bit .res file: it does not start with the empty entry (data size 0, "
         "header size 32, type 0, name 0)"},
        {"truncated header", shortHeader.b,
         "byte 32: truncated resource header: 6 bytes left, a header needs at least 32"},
        {"header past end", claimsMore.b,
         "byte 32: truncated resource header: it claims 32 bytes, only 12 are left"},
        {"data past end", pastEnd.b,
         "byte 32: data size 100 runs past the end: the data starts at byte 64 of a 72-byte "
         "file"},
        {"unaligned header", unaligned.b,
         "byte 36: header size 34 is not a multiple of 4, so the data would not be "
         "DWORD-aligned"},
        {"fields longer than header", longerFields.b,
         "byte 36: header size 32, but its type, name and fields take 40 bytes"},
        {"stray bytes after an entry", afterGood.b,
         "byte 68: truncated resource header: 2 bytes left, a header needs at least 32"},
    };
    for (const BadFile& bad : cases) {
        SCOPED_TRACE(bad.what);
        try {
            ParseResFile(bad.bytes, "bad.res");
            ADD_FAILURE() << "no error";
        } catch (const ResourceError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("bad.res: ") + bad.message);
        }
    }
}

TEST(ResFileReader, MissingFileIsNamed) {
    try {
        LoadResFile("/nonexistent/Pelvaro.res");
        ADD_FAILURE() << "no error";
    } catch (const ResourceError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "/nonexistent/Pelvaro.res: byte 0: cannot open the file");
    }
}

// --- The decoders on bad bytes ----------------------------------------------------

struct BadResource {
    const char* what;
    void (*decode)(const std::vector<uint8_t>&);  // throws on bad bytes
    std::vector<uint8_t> bytes;
    const char* message;  // after "Pelvaro.res: "
};

void Dialog(const std::vector<uint8_t>& bytes) { DecodeDialog(bytes, "Pelvaro.res: DIALOG 16000"); }
void Strings(const std::vector<uint8_t>& bytes) {
    DecodeStringBlock(bytes, "Pelvaro.res: STRINGTABLE block 1001");
}
void Version(const std::vector<uint8_t>& bytes) {
    DecodeVersionInfo(bytes, "Pelvaro.res: VERSIONINFO 1");
}

TEST(ResourceDecoders, RefuseBadBytesNamingResourceOffsetAndFault) {
    Bytes extended;
    extended.U16(1).U16(0xFFFF).U32(0).U32(0).U16(0);
    Bytes oneOfTwo;  // no font, empty caption, then one static of two
    oneOfTwo.U32(0x80C00000).U32(0).U16(2).U16(0).U16(0).U16(10).U16(10).U16(0).U16(0).U16(0);
    oneOfTwo.Align4().U32(0x50000000).U32(0).U16(0).U16(0).U16(5).U16(5).U16(3);
    oneOfTwo.U16(0xFFFF).U16(kStaticClass).U16(0).U16(0);
    Bytes shortString;
    shortString.U16(5).U16('a').U16('b');
    Bytes wrongRoot;
    wrongRoot.U16(20).U16(0).U16(0).Str16("WRONG").Align4();
    Bytes longNode;
    longNode.U16(200).U16(0).U16(0).U16(0);

    const BadResource cases[] = {
        {"extended dialog", Dialog, extended.b,
         "DIALOG 16000: byte 0: an extended (DIALOGEX) template, expected a classic DIALOG "
         "template"},
        {"fewer items than counted", Dialog, oneOfTwo.b,
         "DIALOG 16000: byte 50: the template ends after 1 of its 2 items"},
        {"string shorter than its length", Strings, shortString.b,
         "STRINGTABLE block 1001: byte 2: string text needs 10 bytes, only 4 left before byte 6"},
        {"version root key", Version, wrongRoot.b,
         "VERSIONINFO 1: byte 0: root key is \"WRONG\", expected \"VS_VERSION_INFO\""},
        {"version node past its parent", Version, longNode.b,
         "VERSIONINFO 1: byte 0: version node length 200 runs past the end of its parent (byte "
         "8)"},
    };
    for (const BadResource& bad : cases) {
        SCOPED_TRACE(bad.what);
        try {
            bad.decode(bad.bytes);
            ADD_FAILURE() << "no error";
        } catch (const ResourceError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("Pelvaro.res: ") + bad.message);
        }
    }
}

// --- The declaration check on bad PiPLs ----------------------------------------

struct PiplValues {
    const char* kind = "SPEA";
    uint32_t interfaceVersion = 2;
    std::string entryPoint = "PluginMain";
    size_t entryLength = 12;
    std::string name = "Pelvaro";
    bool withName = true;
    uint32_t count = 4;
};

std::vector<uint8_t> MakePipl(const PiplValues& v) {
    Bytes pipl;
    pipl.U16(1).U32(0).U32(v.count);
    Bytes kind;
    kind.Padded(v.kind, 4);
    std::reverse(kind.b.begin(), kind.b.end());  // stored as a little-endian integer
    AddProperty(pipl, "kind", kind);
    AddProperty(pipl, "ivrs", Bytes().U32(v.interfaceVersion));
    AddProperty(pipl, "wx86", Bytes().Padded(v.entryPoint, v.entryLength));
    if (v.withName)
        AddProperty(pipl, "pinm", Bytes().Padded(v.name, (v.name.size() + 5) & ~size_t{3}));
    return pipl.b;
}

struct BadDeclaration {
    const char* what;
    PiplValues values;
    const char* message;  // after "Pelvaro.res: "
};

TEST(DeclarationCheck, RefusesAWrongDeclarationWithAClearMessage) {
    PiplValues wrongEntry, wrongKind, wrongVersion, unterminated, noName, emptyName, truncated;
    wrongEntry.entryPoint = "Foo";
    wrongEntry.entryLength = 8;
    wrongKind.kind = "8BFM";
    wrongVersion.interfaceVersion = 3;
    unterminated.entryPoint = "PluginMainXY";  // fills its 12 bytes, no zero
    noName.withName = false;
    noName.count = 3;
    emptyName.name = "";
    truncated.withName = false;  // count still 4

    const BadDeclaration cases[] = {
        {"wrong entry point", wrongEntry,
         "PiPL 16000: entry point is \"Foo\", expected \"PluginMain\""},
        {"wrong kind", wrongKind, "PiPL 16000: kind is \"8BFM\", expected \"SPEA\""},
        {"wrong version", wrongVersion, "PiPL 16000: interface version is 3, expected 2"},
        {"unterminated entry point", unterminated,
         "PiPL 16000: 'wx86' property has no zero byte after its text"},
        {"no name", noName, "PiPL 16000: no 'pinm' property (vendor 'ADBE')"},
        {"empty name", emptyName, "PiPL 16000: plug-in name is empty"},
        {"fewer properties than counted", truncated,
         "PiPL 16000: byte 78: property 4 of 4 is cut short: 0 bytes left, its head needs 16"},
    };
    for (const BadDeclaration& bad : cases) {
        SCOPED_TRACE(bad.what);
        const ResourceSet source("Pelvaro.res", {{ResourceId(kPiplType), kPiplId, kLangEnglishUK, 0,
                                                  0, 0, 0, 0, MakePipl(bad.values)}});
        const DeclarationCheck check = CheckModuleDeclaration(source);
        EXPECT_FALSE(check.ok());
        EXPECT_EQ(check.error, std::string("Pelvaro.res: ") + bad.message);
    }

    const ResourceSet sound("Pelvaro.res", {{ResourceId(kPiplType), kPiplId, kLangEnglishUK, 0, 0,
                                             0, 0, 0, MakePipl({})}});
    EXPECT_TRUE(CheckModuleDeclaration(sound).ok()) << CheckModuleDeclaration(sound).error;
    EXPECT_EQ(CheckModuleDeclaration(ResourceSet("Pelvaro.res", {})).error,
              "Pelvaro.res: no PiPL resource 16000, so the module does not declare itself a "
              "plug-in");
}

}  // namespace
