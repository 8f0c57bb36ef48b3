#include "cli/svg/Css.h"

#include <algorithm>
#include <tuple>

namespace cli::svg {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

std::string WithoutComments(std::string_view css) {
    std::string out;
    out.reserve(css.size());
    for (std::size_t at = 0; at < css.size();) {
        if (css.compare(at, 2, "/*") == 0) {
            const std::size_t end = css.find("*/", at + 2);
            at = end == std::string_view::npos ? css.size() : end + 2;
            out += ' ';
        } else {
            out += css[at++];
        }
    }
    return out;
}

// The end of the block that opens at text[open] ('{'), past its '}'.
std::size_t BlockEnd(std::string_view text, std::size_t open) {
    int depth = 0;
    for (std::size_t at = open; at < text.size(); ++at) {
        if (text[at] == '{') ++depth;
        if (text[at] == '}' && --depth == 0) return at + 1;
    }
    return text.size();
}

std::string Shorten(std::string_view text) {
    text = Trim(text);
    return text.size() > 40 ? std::string(text.substr(0, 37)) + "..." : std::string(text);
}

}  // namespace

std::vector<Declaration> ParseDeclarations(std::string_view text) {
    std::vector<Declaration> out;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find(';', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view item = text.substr(at, end - at);
        const std::size_t colon = item.find(':');
        if (colon != std::string_view::npos) {
            Declaration declaration;
            declaration.name = Trim(item.substr(0, colon));
            std::string_view value = Trim(item.substr(colon + 1));
            const std::size_t bang = value.rfind('!');
            if (bang != std::string_view::npos &&
                EqualsIgnoringCase(Trim(value.substr(bang + 1)), "important")) {
                declaration.important = true;
                value = Trim(value.substr(0, bang));
            }
            declaration.value = value;
            if (!declaration.name.empty() && !value.empty()) out.push_back(declaration);
        }
        at = end + 1;
    }
    return out;
}

bool PropertyOf(std::string_view name, Property& property) {
    if (EqualsIgnoringCase(name, "fill")) {
        property = Property::kFill;
    } else if (EqualsIgnoringCase(name, "display")) {
        property = Property::kDisplay;
    } else if (EqualsIgnoringCase(name, "visibility")) {
        property = Property::kVisibility;
    } else {
        return false;
    }
    return true;
}

void StyleSheet::Add(std::string_view cssText, std::vector<std::string>& skipped) {
    const std::string css = WithoutComments(cssText);
    const std::string_view text(css);
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsSpace(text[at])) ++at;
        if (at >= text.size()) break;
        if (text.compare(at, 4, "<!--") == 0 || text.compare(at, 3, "-->") == 0) {
            at += text[at] == '<' ? 4 : 3;
            continue;
        }
        const std::size_t open = text.find('{', at);
        if (text[at] == '@') {
            const std::size_t semicolon = text.find(';', at);
            const std::size_t end = semicolon < open ? semicolon + 1 : BlockEnd(text, open);
            skipped.push_back("the at-rule '" +
                              Shorten(text.substr(at, std::min(open, semicolon) - at)) + "'");
            at = end;
            continue;
        }
        if (open == std::string_view::npos) {
            skipped.push_back("the text '" + Shorten(text.substr(at)) +
                              "' with no declaration block");
            break;
        }
        const std::size_t end = BlockEnd(text, open);
        const std::string_view prelude = text.substr(at, open - at);
        const std::size_t close = text[end - 1] == '}' ? end - 1 : end;  // unclosed: to the end
        const std::string_view block = text.substr(open + 1, close - open - 1);
        at = end;

        // One rule per selector of the comma list; a list with a selector
        // this reader cannot match is skipped whole, as a browser does.
        std::vector<Rule> rules;
        bool readable = true;
        std::size_t from = 0;
        while (readable && from <= prelude.size()) {
            std::size_t comma = prelude.find(',', from);
            if (comma == std::string_view::npos) comma = prelude.size();
            const std::string_view selector = Trim(prelude.substr(from, comma - from));
            from = comma + 1;
            Rule rule;
            std::size_t i = 0;
            if (i < selector.size() && selector[i] == '*') {
                ++i;
            } else {
                while (i < selector.size() && IsNameChar(selector[i])) ++i;
                rule.type = std::string(selector.substr(0, i));
            }
            int ids = 0, classes = 0;
            while (readable && i < selector.size()) {
                const char mark = selector[i++];
                const std::size_t name = i;
                while (i < selector.size() && IsNameChar(selector[i])) ++i;
                if ((mark != '.' && mark != '#') || i == name) {
                    readable = false;
                } else if (mark == '#') {
                    rule.id = std::string(selector.substr(name, i - name));
                    ++ids;
                } else {
                    rule.classes.emplace_back(selector.substr(name, i - name));
                    ++classes;
                }
            }
            if (selector.empty()) readable = false;
            rule.specificity = ids * 10000 + classes * 100 + (rule.type.empty() ? 0 : 1);
            rules.push_back(std::move(rule));
        }
        if (!readable) {
            skipped.push_back("the rule '" + Shorten(prelude) +
                              "' (only type, class and id selectors are read)");
            continue;
        }
        const std::vector<Declaration> declarations = ParseDeclarations(block);
        for (Rule& rule : rules) {
            for (const Declaration& declaration : declarations) {
                Property property;
                if (!PropertyOf(declaration.name, property)) continue;
                const auto p = static_cast<std::size_t>(property);
                // A later declaration wins within a block unless the earlier is important.
                if (rule.important[p] && !declaration.important) continue;
                rule.values[p] = std::string(declaration.value);
                rule.set[p] = true;
                rule.important[p] = declaration.important;
            }
            if (!(rule.set[0] || rule.set[1] || rule.set[2])) continue;
            rule.order = rules_.size();
            const std::size_t index = rules_.size();
            if (!rule.id.empty()) {
                byId_[rule.id].push_back(index);
            } else if (!rule.classes.empty()) {
                byClass_[rule.classes.front()].push_back(index);
            } else if (!rule.type.empty()) {
                byType_[rule.type].push_back(index);
            } else {
                universal_.push_back(index);
            }
            rules_.push_back(std::move(rule));
        }
    }
}

bool StyleSheet::Matches(const Rule& rule, const ElementKey& element) const {
    if (!rule.type.empty() && rule.type != element.type) return false;
    if (!rule.id.empty() && rule.id != element.id) return false;
    for (const std::string& name : rule.classes) {
        bool found = false;
        ForEachClass(element.classes, [&](std::string_view c) { found = found || c == name; });
        if (!found) return false;
    }
    return true;
}

std::array<StyleSheet::Value, kPropertyCount> StyleSheet::Lookup(const ElementKey& element) const {
    std::array<Value, kPropertyCount> result{};
    if (rules_.empty()) return result;
    // The best rule so far per property: (important, specificity, order).
    std::array<std::tuple<bool, int, std::size_t>, kPropertyCount> best{};
    std::array<bool, kPropertyCount> found{};
    const auto consider = [&](const std::vector<std::size_t>& candidates) {
        for (const std::size_t index : candidates) {
            const Rule& rule = rules_[index];
            if (!Matches(rule, element)) continue;
            for (std::size_t p = 0; p < kPropertyCount; ++p) {
                if (!rule.set[p]) continue;
                const auto rank = std::make_tuple(rule.important[p], rule.specificity, rule.order);
                if (found[p] && rank < best[p]) continue;
                found[p] = true;
                best[p] = rank;
                result[p] = {rule.values[p], rule.important[p]};
            }
        }
    };
    const auto lookIn = [&](const auto& map, std::string_view key) {
        const auto it = map.find(std::string(key));
        if (it != map.end()) consider(it->second);
    };
    if (!element.id.empty()) lookIn(byId_, element.id);
    ForEachClass(element.classes, [&](std::string_view c) { lookIn(byClass_, c); });
    lookIn(byType_, element.type);
    consider(universal_);
    return result;
}

}  // namespace cli::svg
