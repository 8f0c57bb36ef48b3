// The plug-in's resources as Windows itself reads them: the 32-bit shipped
// module and the module of this build, each opened as a data file, through
// FindResourceEx/LoadResource, LoadString and GetFileVersionInfo/VerQueryValue.
// Windows builds only (the Win64 test build, under wine64).
#if defined(_WIN32)

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "headless/PluginResources.h"
#include "winres/DialogTemplate.h"
#include "winres/ModuleResources.h"
#include "winres/ResFile.h"
#include "winres/StringTable.h"
#include "winres/VersionInfo.h"

using namespace headless;

namespace {

struct Module {
    const char* what;
    const char* path;
};

void PrintTo(const Module& module, std::ostream* out) { *out << module.what; }

// The shipped DLL is built by `make dll` (the win32 preset) before this suite runs.
const Module kModules[] = {
    {"shipped 32-bit", PELVARO_SHIPPED_DLL},
    {"Win64 test build", PELVARO_MODULE_PATH},
};

class WindowsResources : public testing::TestWithParam<Module> {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(GetParam().path)) {
            GTEST_FAIL() << GetParam().path << " does not exist; build it first ("
                         << "`make dll` for dist/Pelvaro.aip)";
        }
        module_ = ModuleResources::OpenDataFile(GetParam().path);
    }

    std::shared_ptr<const ModuleResources> module_;
};

const ResourceSet& Compiled() {
    static const ResourceSet set = LoadResFile(PELVARO_RES_FILE);
    return set;
}

struct Resource {
    ResourceId type;
    uint16_t name;
    uint16_t language;
};

// Every resource of the script, where the loader must find it.
const std::vector<Resource>& AllResources() {
    static const std::vector<Resource> all = {
        {ResourceId(kPiplType), 16000, kLangEnglishUK},
        {kDialogType, 16000, kLangEnglishUK},
        {kStringType, StringBlockId(16000), kLangEnglishUK},
        {kVersionType, 1, kLangEnglishUS},
        {kManifestType, 2, kLangEnglishUS},
    };
    return all;
}

TEST_P(WindowsResources, LoaderFindsEveryResourceOfTheScriptByteForByte) {
    for (const Resource& r : AllResources()) {
        SCOPED_TRACE(DescribeResource(r.type, r.name));
        const ResourceEntry* compiled = Compiled().FindEntry(r.type, r.name, r.language);
        ASSERT_NE(compiled, nullptr) << "not in " << PELVARO_RES_FILE;
        const auto loaded = module_->Find(r.type, r.name, r.language);
        ASSERT_TRUE(loaded.has_value()) << "FindResourceEx finds nothing in " << GetParam().path;
        EXPECT_EQ(*loaded, compiled->bytes);
    }
    // In another language the loader finds nothing.
    EXPECT_FALSE(module_->Find(ResourceId(kPiplType), 16000, kLangEnglishUS).has_value());
}

TEST_P(WindowsResources, DeclarationReadThroughTheLoaderIsAccepted) {
    const Declaration declaration = CheckPluginDeclaration(*module_);
    EXPECT_EQ(declaration.kind, "SPEA");
    EXPECT_EQ(declaration.interfaceVersion, 2);
    EXPECT_EQ(declaration.entryPoint, "PluginMain");
    EXPECT_EQ(declaration.name, "Pelvaro");
}

TEST_P(WindowsResources, LoadStringGivesTheStringList) {
    EXPECT_EQ(module_->StringById(16000), "<First Mac index is 1>");
    EXPECT_EQ(module_->StringById(16001), "tovi plug-ins");
    EXPECT_EQ(module_->StringById(16002), "Pelvaro");
    EXPECT_EQ(module_->StringById(16003), std::nullopt);
}

TEST_P(WindowsResources, DialogTemplateReadThroughTheLoader) {
    const auto dialog = FindDialog(*module_, 16000, kLangEnglishUK);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->caption, "Pelvaro");
    ASSERT_EQ(dialog->items.size(), 9u);
    const std::vector<uint16_t> order = {1, 2, 3, 6, 7, 4, 8, 5, 9};
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(dialog->items[i].id, order[i]);
}

TEST_P(WindowsResources, VersionApiReportsTheVersionInformation) {
    const FileVersionInfo version(GetParam().path);
    const auto fixed = version.Fixed();
    ASSERT_TRUE(fixed.has_value());
    EXPECT_EQ(fixed->signature, kFixedFileInfoSignature);
    EXPECT_EQ(fixed->FileVersion(), (std::array<uint16_t, 4>{0, 1, 0, 2}));
    EXPECT_EQ(fixed->ProductVersion(), (std::array<uint16_t, 4>{0, 1, 0, 2}));
    EXPECT_EQ(fixed->fileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->fileFlags, 0u);
    EXPECT_EQ(fixed->fileOS, 4u);
    EXPECT_EQ(fixed->fileType, 2u);
    EXPECT_EQ(fixed->fileSubtype, 0u);

    EXPECT_EQ(version.Translations(), (std::vector<Translation>{{0x0409, 0x04E4}}));

    const std::pair<const char*, const char*> fixedValues[] = {
        {"FileVersion", "0.1b"},
        {"InternalName", "Pelvaro"},
        {"OriginalFilename", "Pelvaro.aip"},
        {"ProductName", "Pelvaro"},
        {"ProductVersion", "0.1b"},
    };
    for (const auto& [name, value] : fixedValues) EXPECT_EQ(version.Value("040904E4", name), value);
    for (const char* name : {"CompanyName", "FileDescription", "LegalCopyright"}) {
        const auto value = version.Value("040904E4", name);
        ASSERT_TRUE(value.has_value()) << name;
        EXPECT_FALSE(value->empty()) << name;
    }
    EXPECT_EQ(version.Value("040904E4", "Comments"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Modules, WindowsResources, testing::ValuesIn(kModules),
                         [](const testing::TestParamInfo<Module>& param) {
                             return param.index == 0 ? "Shipped32" : "Win64";
                         });

TEST(WindowsResourcesErrors, MissingFileIsNamed) {
    try {
        ModuleResources::OpenDataFile("Z:\\nonexistent\\Pelvaro.aip");
        FAIL() << "opened a file that does not exist";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("Z:\\nonexistent\\Pelvaro.aip"), std::string::npos)
            << error.what();
    }
    EXPECT_THROW(FileVersionInfo("Z:\\nonexistent\\Pelvaro.aip"), std::runtime_error);
}

}  // namespace

#endif  // _WIN32
