#include <string>

#include "headless/Host.h"

namespace headless {

namespace {

std::string Plural(const std::string& kind, int n) {
    if (n == 1) return kind;
    if (!kind.empty() && kind.back() == 'y') return kind.substr(0, kind.size() - 1) + "ies";
    return kind + "s";
}

}  // namespace

bool Holdings::Empty() const {
    if (blocks != 0 || handles != 0 || dictionaries != 0 || arrays != 0 || strings != 0)
        return false;
    for (const auto& entry : objects)
        if (entry.second != 0) return false;
    for (const auto& entry : suites)
        if (entry.second != 0) return false;
    return true;
}

std::string Holdings::Describe() const {
    std::string text;
    const auto add = [&text](const std::string& part) {
        if (!text.empty()) text += ", ";
        text += part;
    };
    for (const auto& [kind, n] : objects)
        if (n != 0) add(std::to_string(n) + " " + Plural(kind, n));
    for (const auto& [name, n] : suites)
        if (n != 0) add(name + " x" + std::to_string(n));
    return text.empty() ? "nothing" : text;
}

}  // namespace headless
