// The compiled resources of the plug-in, byte for byte, against the values
// they must have (tests/fixtures/expected-resources.json).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "winres/Declaration.h"
#include "winres/DialogTemplate.h"
#include "winres/Pipl.h"
#include "winres/ResFile.h"
#include "winres/StringTable.h"
#include "winres/VersionInfo.h"
#include "support/ExpectedResources.h"
#include "support/PluginUnderTest.h"
#include "support/ResourceBytes.h"

using namespace headless;

namespace {

using testing_support::ExpectedResources;
using testing_support::Number;
using testing_support::SameBytes;

const ResourceSet& Compiled() {
    static const ResourceSet set = LoadResFile(testing_support::PluginResourceFile());
    return set;
}

// The bytes of one resource of the compiled file in the given language.
std::vector<uint8_t> CompiledBytes(const ResourceId& type, uint16_t name, uint32_t language) {
    const ResourceEntry* entry = Compiled().FindEntry(type, name, static_cast<uint16_t>(language));
    if (entry == nullptr) {
        ADD_FAILURE() << "no " << DescribeResource(type, name) << " in language 0x" << std::hex
                      << language << " in " << Compiled().Origin();
        return {};
    }
    return entry->bytes;
}

std::string Where(const ResourceId& type, uint16_t name) {
    return Compiled().Origin() + ": " + DescribeResource(type, name);
}

// The value of the PiPL property key in the description.
const nlohmann::json& PiplProperty(const std::string& key) {
    for (const auto& property : ExpectedResources().at("pipl").at("properties"))
        if (property.at("key") == key) return property;
    throw std::out_of_range("no PiPL property " + key + " in the description");
}

TEST(CompiledResources, PiplIsTheDeclaredHundredAndSixBytes) {
    const auto& pipl = ExpectedResources().at("pipl");
    const std::vector<uint8_t> expected = testing_support::ExpectedPiplBytes();
    ASSERT_EQ(expected.size(), pipl.at("size").get<size_t>());
    // The vendor of the first property, stored as a little-endian integer.
    ASSERT_EQ(std::string(expected.begin() + 10, expected.begin() + 14), "EBDA");

    const auto id = static_cast<uint16_t>(Number(pipl.at("id")));
    EXPECT_TRUE(
        SameBytes(CompiledBytes(ResourceId(kPiplType), id, Number(pipl.at("language"))), expected));

    const DeclarationCheck check = CheckModuleDeclaration(Compiled());
    ASSERT_TRUE(check.ok()) << check.error;
    EXPECT_EQ(check.declaration->kind, PiplProperty("kind").at("code"));
    EXPECT_EQ(check.declaration->interfaceVersion, PiplProperty("ivrs").at("int32"));
    EXPECT_EQ(check.declaration->entryPoint, PiplProperty("wx86").at("text"));
    EXPECT_EQ(check.declaration->name, PiplProperty("pinm").at("text"));
}

TEST(CompiledResources, DialogIsTheClassicTemplateWithNineItemsInOrder) {
    const auto& want = ExpectedResources().at("dialog");
    const auto id = static_cast<uint16_t>(Number(want.at("id")));
    const std::vector<uint8_t> bytes = CompiledBytes(kDialogType, id, Number(want.at("language")));
    EXPECT_TRUE(SameBytes(bytes, testing_support::ExpectedDialogBytes()));

    const DialogTemplate dialog = DecodeDialog(bytes, Where(kDialogType, id));
    EXPECT_EQ(dialog.style, Number(want.at("style")));
    EXPECT_EQ(dialog.extendedStyle, 0u);
    EXPECT_EQ((std::vector<int>{dialog.x, dialog.y, dialog.cx, dialog.cy}),
              want.at("rect").get<std::vector<int>>());
    EXPECT_EQ(dialog.menu, ResourceId(u""));
    EXPECT_EQ(dialog.windowClass, ResourceId(u""));
    EXPECT_EQ(dialog.caption, want.at("caption"));
    EXPECT_TRUE(dialog.hasFont);
    EXPECT_EQ(dialog.pointSize, Number(want.at("pointSize")));
    EXPECT_EQ(dialog.fontFace, want.at("font"));
    const auto items = testing_support::ExpectedDialogItems();
    ASSERT_EQ(items.size(), 9u);
    ASSERT_EQ(dialog.items.size(), items.size());
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItem& got = dialog.items[i];
        const testing_support::ExpectedDialogItem& item = items[i];
        SCOPED_TRACE("item " + std::to_string(i + 1) + ", id " + std::to_string(item.id));
        EXPECT_EQ(got.id, item.id);
        EXPECT_EQ(got.windowClass, ResourceId(item.atom));
        EXPECT_EQ(ControlKindName(got.Kind()), item.kind);
        EXPECT_FALSE(got.text.IsOrdinal());
        EXPECT_EQ(got.Text(), item.text);
        EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}),
                  (std::vector<int>{item.x, item.y, item.cx, item.cy}));
        EXPECT_EQ(got.style, item.style);
        EXPECT_EQ(got.extendedStyle, 0u);
        EXPECT_TRUE(got.creationData.empty());
        EXPECT_EQ(dialog.Item(item.id), &got);
    }
}

TEST(CompiledResources, StringListHoldsThreeEnglishUkStrings) {
    const auto& strings = ExpectedResources().at("strings");
    const auto language = static_cast<uint16_t>(Number(strings.at("language")));
    const auto first = static_cast<uint16_t>(Number(strings.at("first")));
    const auto texts = strings.at("texts").get<std::vector<std::string>>();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_TRUE(SameBytes(CompiledBytes(kStringType, StringBlockId(first), language),
                          testing_support::ExpectedStringBlockBytes()));

    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(FindString(Compiled(), static_cast<uint16_t>(first + i), language), texts[i]);
    EXPECT_EQ(FindString(Compiled(), static_cast<uint16_t>(first + texts.size()), language),
              std::nullopt);
    EXPECT_EQ(FindString(Compiled(), first + 1, kLangEnglishUS), std::nullopt);
    EXPECT_EQ(FindString(Compiled(), first + 1, std::nullopt), texts[1]);
}

TEST(CompiledResources, VersionInformation) {
    const auto& want = ExpectedResources().at("version");
    const auto id = static_cast<uint16_t>(Number(want.at("id")));
    const VersionInfo info = DecodeVersionInfo(
        CompiledBytes(kVersionType, id, Number(want.at("language"))), Where(kVersionType, id));
    const FixedFileInfo& fixed = info.fixed;
    EXPECT_EQ(fixed.signature, kFixedFileInfoSignature);
    EXPECT_EQ(fixed.FileVersion(), (want.at("fileVersion").get<std::array<uint16_t, 4>>()));
    EXPECT_EQ(fixed.ProductVersion(), (want.at("productVersion").get<std::array<uint16_t, 4>>()));
    EXPECT_EQ(fixed.fileFlagsMask, Number(want.at("flagsMask")));
    EXPECT_EQ(fixed.fileFlags, Number(want.at("flags")));
    EXPECT_EQ(fixed.fileOS, Number(want.at("os")));
    EXPECT_EQ(fixed.fileType, Number(want.at("type")));
    EXPECT_EQ(fixed.fileSubtype, Number(want.at("subtype")));

    EXPECT_EQ(info.BlockOrder(), want.at("blockOrder").get<std::vector<std::string>>());
    const auto& translation = want.at("translation");
    const Translation expected{static_cast<uint16_t>(Number(translation.at(0))),
                               static_cast<uint16_t>(Number(translation.at(1)))};
    EXPECT_EQ(info.translations, (std::vector<Translation>{expected}));
    ASSERT_EQ(info.stringTables.size(), 1u);
    const VersionStringTable& table = info.stringTables.front();
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", expected.language, expected.codePage);
    EXPECT_EQ(table.key, key);

    std::vector<std::string> keys;
    for (const auto& entry : table.values) keys.push_back(entry.first);
    std::sort(keys.begin(), keys.end());
    std::vector<std::string> wantKeys;
    for (const auto& entry : want.at("strings")) wantKeys.push_back(entry.at("key"));
    std::sort(wantKeys.begin(), wantKeys.end());
    EXPECT_EQ(keys, wantKeys);
    for (const auto& entry : want.at("strings")) {
        const std::string name = entry.at("key");
        ASSERT_NE(table.Value(name), nullptr) << name;
        if (entry.at("value").is_null()) {
            EXPECT_FALSE(table.Value(name)->empty()) << name;  // the maker's wording, not empty
        } else {
            EXPECT_EQ(*table.Value(name), entry.at("value")) << name;
        }
    }
}

TEST(CompiledResources, ManifestIsTheExactEightySixBytes) {
    const auto& want = ExpectedResources().at("manifest");
    const std::string expected = want.at("text");
    ASSERT_EQ(expected.size(), want.at("size").get<size_t>());
    const std::vector<uint8_t> bytes = CompiledBytes(
        kManifestType, static_cast<uint16_t>(Number(want.at("id"))), Number(want.at("language")));
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

}  // namespace
