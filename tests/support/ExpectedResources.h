// The plug-in's resources as they must be, read from the one description
// that the DLL's structural check reads too (tests/fixtures/
// expected-resources.json), and the bytes they encode to.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace testing_support {

// The whole description.
const nlohmann::json& ExpectedResources();

// A number of the description: an integer, or a string of hexadecimal digits
// after "0x".
uint32_t Number(const nlohmann::json& value);

struct ExpectedDialogItem {
    uint16_t id;
    uint16_t atom;     // the predefined window class
    std::string kind;  // as headless::ControlKindName names it
    std::string text;
    int16_t x, y, cx, cy;
    uint32_t style;
};

std::vector<ExpectedDialogItem> ExpectedDialogItems();

// The bytes of the PiPL, of the dialog template and of the string block that
// holds the string list, encoded from the description.
std::vector<uint8_t> ExpectedPiplBytes();
std::vector<uint8_t> ExpectedDialogBytes();
std::vector<uint8_t> ExpectedStringBlockBytes();

}  // namespace testing_support
