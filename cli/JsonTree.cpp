#include "cli/JsonTree.h"

#include <vector>

#include "cli/InputError.h"

namespace cli {

namespace {

// Deeper trees are refused: copying and writing them recurses.
constexpr std::size_t kMaxDepth = 256;

// Builds the tree from parser events; float numbers become binary text.
class TreeBuilder : public nlohmann::json_sax<JsonTree> {
public:
    explicit TreeBuilder(JsonTree& root) : root_(root) {}

    bool null() override { return Add(nullptr); }
    bool boolean(bool value) override { return Add(value); }
    bool number_integer(number_integer_t value) override { return Add(value); }
    bool number_unsigned(number_unsigned_t value) override { return Add(value); }
    bool number_float(number_float_t, const string_t& text) override {
        return Add(JsonTree::binary(std::vector<std::uint8_t>(text.begin(), text.end())));
    }
    bool string(string_t& value) override { return Add(std::move(value)); }
    bool binary(binary_t& value) override { return Add(JsonTree::binary(value)); }
    bool start_object(std::size_t) override { return Open(JsonTree::object()); }
    bool key(string_t& name) override {
        key_ = std::move(name);
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(JsonTree::array()); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& error) override {
        errorPosition_ = position;
        errorText_ = error.what();
        return false;
    }

    bool tooDeep() const { return tooDeep_; }
    std::size_t errorPosition() const { return errorPosition_; }
    const std::string& errorText() const { return errorText_; }

private:
    JsonTree* Place(JsonTree value) {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        JsonTree& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        JsonTree& slot = parent[key_];
        slot = std::move(value);
        return &slot;
    }
    bool Add(JsonTree value) {
        Place(std::move(value));
        return true;
    }
    bool Open(JsonTree container) {
        if (open_.size() >= kMaxDepth) {
            tooDeep_ = true;
            return false;
        }
        open_.push_back(Place(std::move(container)));
        return true;
    }
    bool Close() {
        open_.pop_back();
        return true;
    }

    JsonTree& root_;
    std::vector<JsonTree*> open_;  // containers being filled; parents only change once closed
    std::string key_;
    bool tooDeep_ = false;
    std::size_t errorPosition_ = 0;
    std::string errorText_;
};

// The parser's reason without its exception tag and its own position.
std::string Reason(const std::string& what) {
    std::string reason = what;
    if (!reason.empty() && reason.front() == '[') {
        const auto close = reason.find("] ");
        if (close != std::string::npos) reason.erase(0, close + 2);
    }
    if (reason.rfind("parse error", 0) == 0) {
        const auto colon = reason.find(": ");
        if (colon != std::string::npos) reason.erase(0, colon + 2);
    }
    for (char& c : reason) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E) c = '?';  // keep the message on one printable line
    }
    return reason;
}

void AppendEscaped(const std::string& text, std::string& out) {
    out += JsonTree(text).dump(-1, ' ', false, JsonTree::error_handler_t::replace);
}

}  // namespace

TextPlace PlaceOfByte(std::string_view text, std::size_t position) {
    const std::size_t end = std::min(position == 0 ? 0 : position - 1, text.size());
    TextPlace place{1, 1};
    for (std::size_t i = 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            ++place.line;
            place.column = 1;
        } else if ((byte & 0xC0) != 0x80) {  // continuation bytes do not start a character
            ++place.column;
        }
    }
    return place;
}

JsonTree ParseJsonTree(std::string_view text, const std::string& fileName) {
    JsonTree root;
    TreeBuilder builder(root);
    if (!JsonTree::sax_parse(text.begin(), text.end(), &builder)) {
        if (builder.tooDeep()) {
            throw InputError(fileName + ": JSON nested deeper than " + std::to_string(kMaxDepth) +
                             " levels");
        }
        const TextPlace place = PlaceOfByte(text, builder.errorPosition());
        throw InputError(fileName + ":" + std::to_string(place.line) + ":" +
                         std::to_string(place.column) +
                         ": malformed JSON: " + Reason(builder.errorText()));
    }
    return root;
}

bool IsJsonNumber(const JsonTree& value) { return value.is_number() || value.is_binary(); }

std::string JsonNumberText(const JsonTree& value) {
    if (value.is_binary()) {
        const auto& bytes = value.get_binary();
        return std::string(bytes.begin(), bytes.end());
    }
    return value.dump();
}

void AppendJsonString(const std::string& text, std::string& out) { AppendEscaped(text, out); }

void AppendJson(const JsonTree& value, std::string& out) {
    if (value.is_binary()) {
        out += JsonNumberText(value);
    } else if (value.is_string()) {
        AppendEscaped(value.get_ref<const std::string&>(), out);
    } else if (value.is_array()) {
        out += '[';
        bool first = true;
        for (const auto& item : value) {
            if (!first) out += ", ";
            first = false;
            AppendJson(item, out);
        }
        out += ']';
    } else if (value.is_object()) {
        out += '{';
        bool first = true;
        for (const auto& [name, item] : value.items()) {
            if (!first) out += ", ";
            first = false;
            AppendEscaped(name, out);
            out += ": ";
            AppendJson(item, out);
        }
        out += '}';
    } else {
        out += value.dump();
    }
}

std::string JsonText(const JsonTree& value) {
    std::string out;
    AppendJson(value, out);
    return out;
}

}  // namespace cli
