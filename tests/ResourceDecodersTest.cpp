// The resource decoders on small hand-made bad bytes: each refusal names the
// resource, the offset and the fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "winres/DialogTemplate.h"
#include "winres/ResourceError.h"
#include "winres/StringTable.h"
#include "winres/VersionInfo.h"
#include "support/ResourceBytes.h"

using namespace headless;

namespace {

using testing_support::Bytes;

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
    Bytes nested;  // 5,000 empty nodes, each inside the one before
    for (int depth = 0; depth < 5000; ++depth) {
        nested.U16(static_cast<uint16_t>(8 * (5000 - depth))).U16(0).U16(0).U16(0);
    }

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
        {"version nodes nested without end", Version, nested.b,
         "VERSIONINFO 1: byte 128: version nodes nested deeper than 16 levels (a version "
         "resource has 4)"},
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

}  // namespace
