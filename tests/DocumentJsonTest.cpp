// Documents as JSON: defaults, round trips, what is kept for the host's
// sake, exact float text, and the errors bad documents get.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "cli/DocumentJson.h"
#include "cli/FileIO.h"
#include "cli/FloatText.h"
#include "cli/InputError.h"
#include "cli/JsonTree.h"

namespace {

using cli::DocumentFile;
using cli::ReadDocumentJson;
using cli::WriteDocumentJson;

std::string Fixture(const char* name) {
    return cli::ReadTextFile(std::string(PELVARO_FIXTURES) + "/" + name);
}

// What reading text refuses it with; a failure, and "", when it is accepted.
std::string Refusal(const std::string& text) {
    try {
        ReadDocumentJson(text, "doc.json");
        ADD_FAILURE() << "accepted: " << text.substr(0, 200);
    } catch (const cli::InputError& error) {
        return error.what();
    }
    return "";
}

bool SameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

void ExpectSameSegments(const headless::Art& a, const headless::Art& b) {
    ASSERT_EQ(a.segments.size(), b.segments.size());
    for (std::size_t s = 0; s < a.segments.size(); ++s) {
        const PathSegment& x = a.segments[s];
        const PathSegment& y = b.segments[s];
        const float xs[] = {x.p.h, x.p.v, x.in.h, x.in.v, x.out.h, x.out.v};
        const float ys[] = {y.p.h, y.p.v, y.in.h, y.in.v, y.out.h, y.out.v};
        for (int i = 0; i < 6; ++i)
            EXPECT_TRUE(SameBits(xs[i], ys[i])) << "segment " << s << " " << i;
        EXPECT_EQ(x.corner, y.corner);
    }
}

TEST(DocumentJson, MissingMembersTakeTheirDefaults) {
    const DocumentFile file = ReadDocumentJson(Fixture("defaults.json"), "defaults.json");
    ASSERT_EQ(file.document.art.size(), 1u);
    const headless::Art& art = file.document.art[0];
    EXPECT_EQ(art.type, kPathArt);
    EXPECT_TRUE(art.selected);
    EXPECT_TRUE(art.closed);
    EXPECT_EQ(art.style.fillPaint, 0);
    ASSERT_EQ(art.segments.size(), 2u);
    const PathSegment& s = art.segments[1];
    EXPECT_EQ(s.p.h, 3.5f);
    EXPECT_EQ(s.p.v, -4.0f);
    EXPECT_TRUE(s.in.h == s.p.h && s.in.v == s.p.v && s.out.h == s.p.h && s.out.v == s.p.v);
    EXPECT_EQ(s.corner, 1);

    // Written out, the defaults are explicit and read back the same.
    const std::string text = WriteDocumentJson(file);
    EXPECT_NE(
        text.find("{\"p\": [3.5, -4], \"in\": [3.5, -4], \"out\": [3.5, -4], \"corner\": true}"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("\"selected\": true, \"closed\": true, \"fill\": null"), std::string::npos);
    const DocumentFile again = ReadDocumentJson(text, "again");
    ExpectSameSegments(again.document.art[0], art);
    EXPECT_EQ(WriteDocumentJson(again), text);
}

TEST(DocumentJson, EveryKnownMemberRoundTrips) {
    headless::Document document;
    headless::Art open;
    open.selected = false;
    open.closed = false;
    PathSegment curve{};
    curve.p = {1.25f, -2.0f};
    curve.in = {0.1f, 1e-7f};
    curve.out = {-0.0f, 3e20f};
    curve.corner = 0;
    open.segments = {curve, curve};
    open.style.fillPaint = 1;
    open.style.fillColorKind = kThreeColor;
    open.style.fillColor[0] = 0.2f;
    open.style.fillColor[1] = 1.0f;
    open.style.fillColor[2] = 0.0f;
    headless::Art gray = open;
    gray.style.fillColorKind = kGrayColor;
    gray.style.fillColor[0] = 0.75f;
    headless::Art cmyk = open;
    cmyk.style.fillColorKind = kFourColor;
    cmyk.style.fillColor[3] = 0.5f;
    headless::Art unfilled = open;
    unfilled.style = PathStyle{};
    document.art = {open, gray, cmyk, unfilled};

    const std::string text = WriteDocumentJson(document);
    const DocumentFile back = ReadDocumentJson(text, "back");
    ASSERT_EQ(back.document.art.size(), 4u);
    for (std::size_t a = 0; a < 4; ++a) {
        const headless::Art& x = document.art[a];
        const headless::Art& y = back.document.art[a];
        EXPECT_EQ(y.selected, x.selected);
        EXPECT_EQ(y.closed, x.closed);
        EXPECT_EQ(y.style.fillPaint, x.style.fillPaint) << a;
        if (x.style.fillPaint) {
            EXPECT_EQ(y.style.fillColorKind, x.style.fillColorKind) << a;
            const std::size_t levels = x.style.fillColorKind == kGrayColor    ? 1
                                       : x.style.fillColorKind == kThreeColor ? 3
                                                                              : 4;
            EXPECT_EQ(std::memcmp(y.style.fillColor, x.style.fillColor, levels * sizeof(float)), 0)
                << a;
        }
        ExpectSameSegments(x, y);
    }
    EXPECT_EQ(WriteDocumentJson(back), text);
}

TEST(DocumentJson, OtherArtAndUnknownMembersAreKept) {
    const std::string original = Fixture("passthrough.json");
    const DocumentFile file = ReadDocumentJson(original, "passthrough.json");
    ASSERT_EQ(file.document.art.size(), 3u);
    EXPECT_NE(file.document.art[0].type, kPathArt);
    EXPECT_EQ(file.document.art[1].type, kPathArt);
    EXPECT_NE(file.document.art[2].type, kPathArt);  // a group is not a path, whatever it holds
    EXPECT_EQ(file.document.art[1].style.fillColorKind, kThreeColor);

    const std::string written = WriteDocumentJson(file);
    // Numbers kept as written, not as a double would print them.
    for (const char* kept : {"\"at\": [0.1, 2.50]", "12345678901234567890", "\"size\": 1e-5",
                             "\"tags\": [\"a\", 1.10]", "\"scale\": 0.3333333333333333",
                             "\"id\": 7", "\"note\": {\"x\": null}"}) {
        EXPECT_NE(written.find(kept), std::string::npos) << kept << "\n" << written;
    }
    // And as JSON values, everything but the defaults made explicit is unchanged.
    const auto in = nlohmann::json::parse(original);
    const auto out = nlohmann::json::parse(written);
    EXPECT_EQ(out["art"][0], in["art"][0]);
    EXPECT_EQ(out["art"][2], in["art"][2]);
    EXPECT_EQ(out["art"][1]["name"], in["art"][1]["name"]);
    EXPECT_EQ(out["art"][1]["segments"][0]["id"], 7);
    EXPECT_EQ(out["art"][1]["segments"][2]["note"], in["art"][1]["segments"][2]["note"]);
    EXPECT_EQ(out["version"], 3);
    EXPECT_EQ(out["meta"], in["meta"]);
    EXPECT_EQ(WriteDocumentJson(ReadDocumentJson(written, "again")), written);
}

TEST(FloatText, IsTheShortestTextThatReadsBack) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.1f, "0.1"},
        {1.0f / 3.0f, "0.33333334"},
        {-0.0f, "-0.0"},
        {0.0f, "0"},
        {12.25f, "12.25"},
        {16777216.0f, "16777216"},
        {1e10f, "1e+10"},
        {std::numeric_limits<float>::denorm_min(), "1e-45"},
        {std::numeric_limits<float>::max(), "3.4028235e+38"},
    };
    for (const Case& c : cases) EXPECT_EQ(cli::FloatText(c.value), c.text);
}

TEST(FloatText, EveryFiniteFloatSurvivesTheDocument) {
    // Random bit patterns cover every exponent, subnormals and both zeros.
    std::mt19937 random(5);
    headless::Document document;
    headless::Art art;
    for (int i = 0; i < 3000; ++i) {
        float values[6];
        for (float& v : values) {
            do v = std::bit_cast<float>(static_cast<uint32_t>(random()));
            while (!std::isfinite(v));
        }
        PathSegment s{};
        s.p = {values[0], values[1]};
        s.in = {values[2], values[3]};
        s.out = {values[4], values[5]};
        art.segments.push_back(s);
    }
    art.segments[0].p = {-0.0f, std::numeric_limits<float>::denorm_min()};
    document.art.push_back(art);
    const DocumentFile back = ReadDocumentJson(WriteDocumentJson(document), "floats");
    ExpectSameSegments(back.document.art[0], art);
}

// The writer remembers recent texts: a float that repeats, and one that
// equals it as a number but not in its bits (zero and negative zero), each
// keep their own text.
TEST(FloatText, RepeatedFloatsKeepTheirOwnText) {
    std::mt19937 random(9);
    std::vector<float> values = {0.0f, -0.0f, 0.0f, 1.5f, -0.0f, 1.5f, -1.5f, 0.1f, 0.1f};
    for (int i = 0; i < 500; ++i) {
        const float v = std::bit_cast<float>(static_cast<uint32_t>(random()));
        if (!std::isfinite(v)) continue;
        values.insert(values.end(), {v, v, -v, values[random() % values.size()]});
    }
    headless::Document document;
    headless::Art art;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
        PathSegment s{};
        s.p = s.in = {values[i], values[i + 1]};
        s.out = {values[i + 1], values[i]};
        art.segments.push_back(s);
    }
    document.art.push_back(art);
    const DocumentFile back = ReadDocumentJson(WriteDocumentJson(document), "floats");
    ExpectSameSegments(back.document.art[0], art);
}

// Short decimals take a quicker road than long ones; both give the float
// nearest the decimal, ties to even.
TEST(FloatText, DecimalsReadAsTheNearestFloat) {
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {
        {"16777217", 16777216.0f},  // halfway: to the even neighbour, down
        {"16777219", 16777220.0f},  // halfway: to the even neighbour, up
        {"16777217.5", 16777218.0f},
        // Just either side of the midpoint of two floats, so close that as
        // doubles both land on it.
        {"30.45396900177002", 30.453969955444336f},
        {"51.05355644226074", 51.05355453491211f},
        {"-1227.2001", -1227.2001f},
        {"0.1", 0.1f},
        {"-0.0", -0.0f},
        {"123456789012345678", 123456789012345678.0f},  // past the quick road's digits
        {"0.000000000000000000000001", 1e-24f},
    };
    for (const Case& c : cases) {
        float value = 0.0f;
        ASSERT_EQ(cli::ParseFloat(c.text, value), cli::FloatParse::kOk) << c.text;
        EXPECT_TRUE(SameBits(value, c.value)) << c.text << " read as " << value;
    }
    // Random decimals of 1 to 17 digits against the C library's reader.
    std::mt19937 random(11);
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 2 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 17);
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits));
        for (int d = 0; d < digits; ++d) {
            if (d == point && d > 0) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        float value = 0.0f;
        ASSERT_EQ(cli::ParseFloat(text, value), cli::FloatParse::kOk) << text;
        EXPECT_TRUE(SameBits(value, std::strtof(text.c_str(), nullptr))) << text;
    }
}

TEST(FloatText, NumbersAreReadAsFloatsNotThroughDoubles) {
    // Just above the midpoint of 1 and the next float: through a double it
    // lands on the midpoint and rounds to 1; read directly it rounds up.
    const DocumentFile file = ReadDocumentJson(
        R"({"art": [{"segments": [{"p": [1.00000005960464477540, 1e-46]}]}]})", "mid");
    const RealPoint p = file.document.art[0].segments[0].p;
    EXPECT_EQ(p.h, std::nextafter(1.0f, 2.0f));
    EXPECT_EQ(p.v, 0.0f);  // too small for a float: zero, not an error
}

TEST(DocumentJson, MalformedJsonNamesFileLineAndColumn) {
    struct Case {
        const char* text;
        const char* fragment;
    };
    const Case cases[] = {
        {"{\n  \"art\": [tru]\n}", "doc.json:2:14: malformed JSON"},
        {"{\"art\": [\n\"\u00e9\u00e9\" x",
         "doc.json:2:6: malformed JSON"},  // columns count characters
        {"{\"art\": [", "doc.json:1:10: malformed JSON"},
        {"", "doc.json:1:1: malformed JSON"},
        {"{\"art\": []} x", "doc.json:1:13: malformed JSON"},
        {"\n  }", "doc.json:2:3: malformed JSON: The document is empty."},
        {"{\"art\": [1 2]}", "doc.json:1:12: malformed JSON: Missing a comma or ']' after"},
        {"{\"art\": [], }", "doc.json:1:13: malformed JSON: Missing a name for object member."},
        // A broken UTF-8 sequence just before a closing quote reads past it.
        {"{\"art\xe5\": []}", "malformed JSON: Invalid encoding in string."},
        {"{\"art\": [{\"type\": \"text\xf0\"}]}", "malformed JSON: Invalid encoding in string."},
    };
    for (const Case& c : cases) {
        const std::string what = Refusal(c.text);
        EXPECT_NE(what.find(c.fragment), std::string::npos) << what;
        EXPECT_EQ(what.find('\n'), std::string::npos) << what;
    }
}

// A repeated key would silently lose one of its values: refused, naming both.
TEST(DocumentJson, DuplicateKeysAreRefusedNamingBothPlaces) {
    struct Case {
        const char* text;
        const char* second;  // where the repeat is
        const char* first;   // where the first one is
    };
    const Case cases[] = {
        {R"({"art": [], "art": []})", "doc.json:1:13: duplicate key \"art\"", "first is at 1:2"},
        {"{\"art\": [{\"segments\": [\n {\"p\": [0, 0], \"p\": [1, 1]}]}]}",
         "doc.json:2:16: duplicate key \"p\"", "first is at 2:3"},
        {R"({"art": [], "meta": {"a": 1, "a": 2}})", "doc.json:1:30: duplicate key",
         "first is at 1:22"},
        {R"({"art": [], "x\"y": 1, "x\"y": 2})", "doc.json:1:24: duplicate key",
         "first is at 1:13"},
        {R"({"art": [{"type": "text", "v": 1, "v": 2}]})", "doc.json:1:35: duplicate key \"v\"",
         "first is at 1:27"},
    };
    for (const Case& c : cases) {
        const std::string what = Refusal(c.text);
        EXPECT_NE(what.find(c.second), std::string::npos) << what;
        EXPECT_NE(what.find(c.first), std::string::npos) << what;
    }
}

std::string Segments(std::size_t count) {
    std::string text = "[";
    for (std::size_t i = 0; i < count; ++i)
        text += i == 0 ? "{\"p\": [0, 0]}" : ", {\"p\": [0, 0]}";
    return text + "]";
}

TEST(DocumentJson, BadDocumentsNameTheArtAndSegment) {
    struct Case {
        std::string text;
        const char* fragment;
    };
    const std::string good = "{\"segments\": [{\"p\": [0, 0]}]}";
    const Case cases[] = {
        {"[1]", "doc.json: the document must be a JSON object"},
        {"{\"paths\": []}", "doc.json: the document must have an \"art\" array"},
        {"{\"art\": [" + good + ", {\"segments\": " + Segments(32768) + "}]}",
         "doc.json: art[1]: the path has 32768 segments; a path holds at most 32767"},
        {"{\"art\": [" + good +
             ", {\"segments\": [{\"p\": [0, 0]}, {\"p\": [0, 0]}, "
             "{\"p\": [0, 1e39]}]}]}",
         "doc.json: art[1].segments[2]: \"p\" y 1e39 is out of float range"},
        {"{\"art\": [{\"segments\": [{\"p\": [0, 0], \"out\": [-3.5e38, 0]}]}]}",
         "art[0].segments[0]: \"out\" x -3.5e38 is out of float range"},
        {"{\"art\": [{\"segments\": [{\"p\": [0, \"1\"]}]}]}",
         "art[0].segments[0]: \"p\" y must be a number"},
        {"{\"art\": [{\"segments\": [{\"p\": [0]}]}]}", "art[0].segments[0]: \"p\" must be [x, y]"},
        {"{\"art\": [{\"segments\": [{\"in\": [0, 0]}]}]}", "art[0].segments[0]: \"p\" is missing"},
        {"{\"art\": [{\"segments\": [{\"p\": [0, 0], \"corner\": 1}]}]}",
         "\"corner\" must be true or false"},
        {"{\"art\": [{\"selected\": \"yes\"}]}", "art[0]: \"selected\" must be true or false"},
        {"{\"art\": [{\"type\": 2}]}", "art[0]: \"type\" must be a string"},
        {"{\"art\": [{\"fill\": {\"gray\": 0.5, \"rgb\": [0, 0, 0]}}]}",
         "art[0]: \"fill\" must be null"},
        {"{\"art\": [{\"fill\": {\"rgb\": [0, 0]}}]}",
         "art[0]: fill \"rgb\" must be an array of 3"},
        {"{\"art\": [{\"fill\": {\"gray\": 1e40}}]}",
         "art[0]: fill \"gray\" 1e40 is out of float range"},
        {"{\"art\": [{\"segments\": {}}]}", "art[0]: \"segments\" must be an array"},
        {"{\"art\": [3]}", "art[0]: an art object must be a JSON object"},
        {"{\"art\": [{\"deep\": " + std::string(100000, '[') + "}]}",
         "doc.json: JSON nested deeper than 256 levels"},
    };
    for (const Case& c : cases) {
        const std::string what = Refusal(c.text);
        EXPECT_NE(what.find(c.fragment), std::string::npos) << what;
    }
    // The longest path allowed is read.
    const DocumentFile longest =
        ReadDocumentJson("{\"art\": [{\"segments\": " + Segments(32767) + "}]}", "doc.json");
    EXPECT_EQ(longest.document.art[0].segments.size(), 32767u);
}

}  // namespace
