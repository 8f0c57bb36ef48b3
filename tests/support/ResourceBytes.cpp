#include "support/ResourceBytes.h"

#include <algorithm>
#include <sstream>

namespace testing_support {

Bytes& Bytes::Code(const std::string& code) {
    for (auto c = code.rbegin(); c != code.rend(); ++c) b.push_back(static_cast<uint8_t>(*c));
    return *this;
}

Bytes& Bytes::Padded(const std::string& text, size_t length) {
    b.insert(b.end(), text.begin(), text.end());
    b.resize(b.size() + length - text.size(), 0);
    return *this;
}

Bytes& Bytes::Str16(const std::string& text) {
    for (char c : text) U16(static_cast<uint8_t>(c));
    return U16(0);
}

Bytes& Bytes::Align4() {
    while (b.size() % 4 != 0) b.push_back(0);
    return *this;
}

Bytes& Bytes::Append(const std::vector<uint8_t>& more) {
    b.insert(b.end(), more.begin(), more.end());
    return *this;
}

void AddProperty(Bytes& pipl, const std::string& vendor, const std::string& key,
                 const Bytes& data) {
    pipl.Code(vendor).Code(key).U32(0).U32(static_cast<uint32_t>(data.b.size())).Append(data.b);
}

size_t PiplTextLength(const std::string& text) { return (text.size() + 2 + 3) / 4 * 4; }

testing::AssertionResult SameBytes(const std::vector<uint8_t>& actual,
                                   const std::vector<uint8_t>& expected) {
    const size_t common = std::min(actual.size(), expected.size());
    const auto diff = std::mismatch(actual.begin(), actual.begin() + common, expected.begin());
    const auto at = static_cast<size_t>(diff.first - actual.begin());
    if (at == common && actual.size() == expected.size()) return testing::AssertionSuccess();
    std::ostringstream text;
    text << actual.size() << " bytes, expected " << expected.size() << "; ";
    if (at < common) {
        text << "first difference at byte " << at << ": 0x" << std::hex << int{actual[at]}
             << ", expected 0x" << int{expected[at]};
    } else {
        text << "equal up to byte " << at;
    }
    return testing::AssertionFailure() << text.str();
}

}  // namespace testing_support
