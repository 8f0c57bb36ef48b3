// The part of CSS that decides whether a path has a fill and whether it shows:
// declarations ("fill: red; display: none") and the rules of <style> elements
// whose selectors are types, classes and ids (compounds and comma lists too).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cli::svg {

// The properties the cascade computes.
enum class Property { kFill, kDisplay, kVisibility };
constexpr std::size_t kPropertyCount = 3;

struct Declaration {
    std::string_view name;   // trimmed
    std::string_view value;  // trimmed, without "!important"
    bool important = false;
};

// "name: value; ..." as written in a style attribute or a rule's block.
// Declarations without a colon are skipped, as a browser skips them.
std::vector<Declaration> ParseDeclarations(std::string_view text);

// The property a declaration name stands for, or false when it is none of them.
bool PropertyOf(std::string_view name, Property& property);

// What a selector is matched against.
struct ElementKey {
    std::string_view type;  // local name, without a namespace prefix
    std::string_view id;
    std::string_view classes;  // the class attribute as written
};

class StyleSheet {
public:
    // Reads the rules of one <style> element. What it cannot read (at-rules,
    // selectors with combinators, attributes or pseudo-classes) is skipped
    // and described in skipped, one entry each.
    void Add(std::string_view css, std::vector<std::string>& skipped);

    struct Value {
        std::string_view text;  // empty: no rule sets the property
        bool important = false;
    };
    // The value the matching rules give each property: the most specific
    // rule wins, then the latest; important declarations before all others.
    std::array<Value, kPropertyCount> Lookup(const ElementKey& element) const;

    bool Empty() const { return rules_.empty(); }

private:
    struct Rule {
        std::string type;  // empty or "*": any
        std::string id;
        std::vector<std::string> classes;
        int specificity = 0;
        std::size_t order = 0;
        std::array<std::string, kPropertyCount> values;
        std::array<bool, kPropertyCount> set{};
        std::array<bool, kPropertyCount> important{};
    };
    bool Matches(const Rule& rule, const ElementKey& element) const;

    std::vector<Rule> rules_;
    // Rules by the most telling part of their selector, so that an element
    // looks only at the rules that may match it.
    std::unordered_map<std::string, std::vector<std::size_t>> byId_, byClass_, byType_;
    std::vector<std::size_t> universal_;
};

// Calls visit with each class name in a class attribute.
template <typename Visit>
void ForEachClass(std::string_view classes, Visit visit) {
    std::size_t at = 0;
    while (at < classes.size()) {
        while (at < classes.size() && (classes[at] == ' ' || classes[at] == '\t' ||
                                       classes[at] == '\n' || classes[at] == '\r')) {
            ++at;
        }
        std::size_t end = at;
        while (end < classes.size() && classes[end] != ' ' && classes[end] != '\t' &&
               classes[end] != '\n' && classes[end] != '\r') {
            ++end;
        }
        if (end > at) visit(classes.substr(at, end - at));
        at = end;
    }
}

}  // namespace cli::svg
