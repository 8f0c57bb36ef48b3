// JSON text to a tree and back, keeping every number exactly as written.
//
// A number with a fraction or an exponent is kept in the tree as a binary
// value holding its text, so that it can be read as a float without passing
// through a double, and written back as it came. Integers stay integers.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace cli {

using JsonTree = nlohmann::ordered_json;

// Parses text; on malformed input throws InputError naming the file, the
// line and the column (counted in characters, from 1) and the fault. Trees
// nested deeper than 256 levels are refused too.
JsonTree ParseJsonTree(std::string_view text, const std::string& fileName);

// The line and column (both from 1) of the character at 1-based byte
// position, as the parser reports positions; a position past the end is
// the place just after the last character.
struct TextPlace {
    std::size_t line;
    std::size_t column;
};
TextPlace PlaceOfByte(std::string_view text, std::size_t position);

// Whether the value is a number, and its text as written (integers and
// numbers kept as text alike).
bool IsJsonNumber(const JsonTree& value);
std::string JsonNumberText(const JsonTree& value);

// Compact JSON text of a value ("key": value separated by ", "), numbers as
// they were written.
void AppendJson(const JsonTree& value, std::string& out);
std::string JsonText(const JsonTree& value);
// A string as a JSON string literal.
void AppendJsonString(const std::string& text, std::string& out);

}  // namespace cli
