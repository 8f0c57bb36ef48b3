// The .res reader on small hand-made bad files: each refusal names the file,
// the offset and the fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "winres/DialogTemplate.h"
#include "winres/ResFile.h"
#include "winres/ResourceError.h"
#include "support/ResourceBytes.h"

using namespace headless;

namespace {

using testing_support::Bytes;

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

}  // namespace
