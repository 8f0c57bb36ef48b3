#include "support/ExpectedResources.h"

#include <fstream>
#include <stdexcept>

#include "winres/DialogTemplate.h"
#include "support/ResourceBytes.h"

namespace testing_support {

const nlohmann::json& ExpectedResources() {
    static const nlohmann::json values = [] {
        std::ifstream in(PELVARO_EXPECTED_RESOURCES);
        if (!in) throw std::runtime_error(std::string("cannot read ") + PELVARO_EXPECTED_RESOURCES);
        return nlohmann::json::parse(in);
    }();
    return values;
}

uint32_t Number(const nlohmann::json& value) {
    if (value.is_number_unsigned()) return value.get<uint32_t>();
    const std::string text = value.get<std::string>();
    if (text.rfind("0x", 0) != 0) throw std::invalid_argument("not a hexadecimal number: " + text);
    return static_cast<uint32_t>(std::stoul(text.substr(2), nullptr, 16));
}

namespace {

uint16_t ClassAtom(const std::string& name) {
    if (name == "button") return headless::kButtonClass;
    if (name == "edit") return headless::kEditClass;
    if (name == "static") return headless::kStaticClass;
    throw std::invalid_argument("unknown dialog item class: " + name);
}

}  // namespace

std::vector<ExpectedDialogItem> ExpectedDialogItems() {
    std::vector<ExpectedDialogItem> items;
    for (const auto& item : ExpectedResources().at("dialog").at("items")) {
        const auto& rect = item.at("rect");
        items.push_back({static_cast<uint16_t>(Number(item.at("id"))), ClassAtom(item.at("class")),
                         item.at("kind"), item.at("text"), rect.at(0).get<int16_t>(),
                         rect.at(1).get<int16_t>(), rect.at(2).get<int16_t>(),
                         rect.at(3).get<int16_t>(), Number(item.at("style"))});
    }
    return items;
}

std::vector<uint8_t> ExpectedPiplBytes() {
    const auto& pipl = ExpectedResources().at("pipl");
    const auto& properties = pipl.at("properties");
    Bytes bytes;
    bytes.U16(Number(pipl.at("version"))).U32(0).U32(static_cast<uint32_t>(properties.size()));
    for (const auto& property : properties) {
        Bytes data;
        if (property.contains("code")) {
            data.Code(property.at("code"));
        } else if (property.contains("int32")) {
            data.U32(static_cast<uint32_t>(property.at("int32").get<int32_t>()));
        } else {
            const std::string text = property.at("text");
            data.Padded(text, PiplTextLength(text));
        }
        AddProperty(bytes, property.at("vendor"), property.at("key"), data);
    }
    return bytes.b;
}

std::vector<uint8_t> ExpectedDialogBytes() {
    const auto& dialog = ExpectedResources().at("dialog");
    const auto items = ExpectedDialogItems();
    const auto& rect = dialog.at("rect");
    Bytes bytes;
    bytes.U32(Number(dialog.at("style"))).U32(0).U16(static_cast<uint32_t>(items.size()));
    for (const auto& value : rect) bytes.U16(static_cast<uint16_t>(value.get<int16_t>()));
    bytes.U16(0).U16(0).Str16(dialog.at("caption"));  // no menu, no class
    bytes.U16(Number(dialog.at("pointSize"))).Str16(dialog.at("font"));
    for (const ExpectedDialogItem& item : items) {
        bytes.Align4().U32(item.style).U32(0);
        for (int16_t value : {item.x, item.y, item.cx, item.cy})
            bytes.U16(static_cast<uint16_t>(value));
        bytes.U16(item.id).U16(0xFFFF).U16(item.atom).Str16(item.text).U16(0);
    }
    return bytes.b;
}

std::vector<uint8_t> ExpectedStringBlockBytes() {
    // A block holds sixteen counted strings; the list fills the first ones.
    const auto& texts = ExpectedResources().at("strings").at("texts");
    Bytes bytes;
    for (size_t i = 0; i < 16; ++i) {
        const std::string text = i < texts.size() ? texts[i].get<std::string>() : std::string();
        bytes.U16(static_cast<uint32_t>(text.size()));
        for (char c : text) bytes.U16(static_cast<uint8_t>(c));
    }
    return bytes.b;
}

}  // namespace testing_support
