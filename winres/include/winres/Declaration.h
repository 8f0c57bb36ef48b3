// The load-time check of a module's declaration (its PiPL), as a host makes
// it before it runs any of the module's code: a filter-style plug-in of kind
// 'SPEA', interface version 2, a 32-bit Windows entry point named
// PluginMain, and a name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "winres/Pipl.h"
#include "winres/ResourceSource.h"

namespace headless {

constexpr uint16_t kPiplId = 16000;
constexpr uint32_t kPiplVendor = FourCC("ADBE");
constexpr uint32_t kKindKey = FourCC("kind");
constexpr uint32_t kInterfaceVersionKey = FourCC("ivrs");
constexpr uint32_t kEntryPointKey = FourCC("wx86");
constexpr uint32_t kPluginNameKey = FourCC("pinm");

constexpr uint32_t kExpectedKind = FourCC("SPEA");
constexpr int32_t kExpectedInterfaceVersion = 2;
constexpr const char* kExpectedEntryPoint = "PluginMain";

// What the host learned from a sound declaration.
struct Declaration {
    std::string kind;  // "SPEA"
    int32_t interfaceVersion = 0;
    std::string entryPoint;  // "PluginMain"
    std::string name;        // the plug-in's name
};

// Either the facts, or the reason the host refuses the module.
struct DeclarationCheck {
    std::optional<Declaration> declaration;
    std::string error;  // e.g. "Pelvaro.res: PiPL 16000: entry point is "Foo", expected ..."

    bool ok() const { return declaration.has_value(); }
};

// where begins the error message, e.g. "Pelvaro.res: PiPL 16000".
DeclarationCheck CheckDeclaration(const Pipl& pipl, const std::string& where);

// Finds PiPL 16000 (any language), decodes it and checks it. Bad bytes and a
// missing PiPL are reported as the error, not thrown.
DeclarationCheck CheckModuleDeclaration(const ResourceSource& source);

}  // namespace headless
