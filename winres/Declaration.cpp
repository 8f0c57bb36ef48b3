#include "winres/Declaration.h"

#include "winres/ResourceError.h"

namespace headless {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Missing(uint32_t key) {
    return "no '" + FourCCText(key) + "' property (vendor '" + FourCCText(kPiplVendor) + "')";
}

std::string NotInteger(const PiplProperty& property) {
    return "'" + FourCCText(property.key) + "' property is " +
           std::to_string(property.data.size()) + " bytes long, expected 4";
}

std::string NotText(const PiplProperty& property) {
    return "'" + FourCCText(property.key) + "' property has no zero byte after its text";
}

// Empty when the declaration is sound; facts are filled as far as checked.
std::string FindProblem(const Pipl& pipl, Declaration& facts) {
    if (pipl.marker != 1)
        return "resource marker is " + std::to_string(pipl.marker) + ", expected 1";
    if (pipl.version != 0) return "version is " + std::to_string(pipl.version) + ", expected 0";

    const PiplProperty* kind = pipl.Find(kPiplVendor, kKindKey);
    if (kind == nullptr) return Missing(kKindKey);
    if (!kind->Integer()) return NotInteger(*kind);
    facts.kind = FourCCText(*kind->Integer());
    if (*kind->Integer() != kExpectedKind) {
        return "kind is " + Quoted(facts.kind) + ", expected " + Quoted(FourCCText(kExpectedKind));
    }

    const PiplProperty* version = pipl.Find(kPiplVendor, kInterfaceVersionKey);
    if (version == nullptr) return Missing(kInterfaceVersionKey);
    if (!version->Integer()) return NotInteger(*version);
    facts.interfaceVersion = static_cast<int32_t>(*version->Integer());
    if (facts.interfaceVersion != kExpectedInterfaceVersion) {
        return "interface version is " + std::to_string(facts.interfaceVersion) + ", expected " +
               std::to_string(kExpectedInterfaceVersion);
    }

    const PiplProperty* entry = pipl.Find(kPiplVendor, kEntryPointKey);
    if (entry == nullptr) return Missing(kEntryPointKey);
    if (!entry->Text()) return NotText(*entry);
    facts.entryPoint = *entry->Text();
    if (facts.entryPoint != kExpectedEntryPoint) {
        return "entry point is " + Quoted(facts.entryPoint) + ", expected " +
               Quoted(kExpectedEntryPoint);
    }

    const PiplProperty* name = pipl.Find(kPiplVendor, kPluginNameKey);
    if (name == nullptr) return Missing(kPluginNameKey);
    if (!name->Text()) return NotText(*name);
    facts.name = *name->Text();
    if (facts.name.empty()) return "plug-in name is empty";
    return {};
}

}  // namespace

DeclarationCheck CheckDeclaration(const Pipl& pipl, const std::string& where) {
    Declaration facts;
    const std::string problem = FindProblem(pipl, facts);
    if (!problem.empty()) return {std::nullopt, where + ": " + problem};
    return {facts, {}};
}

DeclarationCheck CheckModuleDeclaration(const ResourceSource& source) {
    const ResourceId type(kPiplType);
    const std::string where = source.Origin() + ": " + DescribeResource(type, kPiplId);
    const auto bytes = source.Find(type, kPiplId, std::nullopt);
    if (!bytes) {
        return {std::nullopt, source.Origin() + ": no PiPL resource " + std::to_string(kPiplId) +
                                  ", so the module does not declare itself a plug-in"};
    }
    try {
        return CheckDeclaration(DecodePipl(*bytes, where), where);
    } catch (const ResourceError& error) {
        return {std::nullopt, error.what()};
    }
}

}  // namespace headless
