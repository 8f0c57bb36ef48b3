// The host's load-time check of a declaration, on hand-made PiPLs: a wrong
// one is refused with a message that names the resource and the fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "winres/Declaration.h"
#include "winres/Pipl.h"
#include "winres/ResFile.h"
#include "support/ResourceBytes.h"

using namespace headless;

namespace {

using testing_support::AddProperty;
using testing_support::Bytes;
using testing_support::PiplTextLength;

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
    AddProperty(pipl, "ADBE", "kind", kind);
    AddProperty(pipl, "ADBE", "ivrs", Bytes().U32(v.interfaceVersion));
    AddProperty(pipl, "ADBE", "wx86", Bytes().Padded(v.entryPoint, v.entryLength));
    if (v.withName)
        AddProperty(pipl, "ADBE", "pinm", Bytes().Padded(v.name, PiplTextLength(v.name)));
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
