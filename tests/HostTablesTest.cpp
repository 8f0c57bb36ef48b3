// The host's flat tables against the standard containers, under long random
// runs of adds and erases: erasing from an open-addressed table is where
// lookups go wrong (a moved entry no longer found, a hole that ends a run).
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "headless/ObjectTable.h"
#include "headless/TextTable.h"
#include "headless/TokenMap.h"
#include "headless/TokenRuns.h"

namespace headless::detail {
namespace {

struct KeyPattern {
    const char* name;
    uintptr_t (*key)(std::mt19937&);
};

// Keys as the host makes them: tokens in a narrow band (many wrap around the
// table), addresses with their low bits equal, and small dense numbers.
const KeyPattern kPatterns[] = {
    {"tokens", [](std::mt19937& r) -> uintptr_t { return 0x10000 + (r() % 5000) * 16; }},
    {"pages", [](std::mt19937& r) -> uintptr_t { return uintptr_t{1 + r() % 3000} << 12; }},
    {"numbers", [](std::mt19937& r) -> uintptr_t { return 1 + r() % 3000; }},
};

template <Placement P>
void RunAgainstModel(const KeyPattern& pattern) {
    std::mt19937 random(7);
    TokenMap<int, P> map;
    std::unordered_map<uintptr_t, int> model;
    for (int step = 0; step < 200000; ++step) {
        const uintptr_t key = pattern.key(random);
        if (random() % 3 == 0) {
            map.Erase(key);
            model.erase(key);
        } else {
            const auto [value, added] = map.Insert(key, step);
            const auto [expected, modelAdded] = model.emplace(key, step);
            ASSERT_EQ(added, modelAdded) << pattern.name << " step " << step;
            ASSERT_EQ(*value, expected->second) << pattern.name << " step " << step;
        }
        if (step % 997 == 0) {
            ASSERT_EQ(map.size(), model.size());
            for (const auto& [k, v] : model) {
                const int* found = map.Find(k);
                ASSERT_NE(found, nullptr) << pattern.name << " lost key " << k;
                ASSERT_EQ(*found, v);
            }
        }
    }
    int seen = 0;
    map.ForEach([&](uintptr_t key, int value) {
        ++seen;
        EXPECT_EQ(model.at(key), value);
    });
    EXPECT_EQ(seen, static_cast<int>(model.size()));
}

TEST(HostTablesTest, TokenMapAgreesWithAStandardMapThroughAddsAndErases) {
    for (const KeyPattern& pattern : kPatterns) {
        RunAgainstModel<Placement::kSpread>(pattern);
        RunAgainstModel<Placement::kDense>(pattern);
    }
}

TEST(HostTablesTest, TokenMapFindsNothingUnderNullOrAbsentKeys) {
    TokenMap<int> map;
    EXPECT_EQ(map.Find(0), nullptr);
    map.Erase(0x10000);  // erasing from an empty map is harmless
    map.Insert(0x10000, 1);
    EXPECT_EQ(map.Find(0), nullptr);
    EXPECT_EQ(map.Find(0x10010), nullptr);
}

struct Thing {
    static constexpr const char* kKind = "thing";
    int value = 0;
};

// Objects made and erased in runs long enough to empty whole chunks of the
// table, some under addresses of the caller's: every live one is found, and
// no erased or foreign token finds anything.
TEST(HostTablesTest, ObjectTableFindsWhatLivesAndNothingElse) {
    ObjectTable<Thing> table;
    ObjectTable<Thing> other;
    std::map<uintptr_t, int> live;  // in token order: the oldest first
    std::vector<uintptr_t> gone;
    std::mt19937 random(3);
    for (int step = 0; step < 30000; ++step) {
        const auto roll = random() % 10;
        if (roll < 5 || live.empty()) {
            const uintptr_t token = table.Add(Thing{step});
            ASSERT_TRUE(live.emplace(token, step).second) << "token made twice";
        } else if (roll < 6) {
            // Page addresses, far from where tokens are.
            const uintptr_t address = uintptr_t{0x7F000000} + (uintptr_t{random() % 500} << 12);
            if (live.emplace(address, step).second) table.AddAt(address, Thing{step});
        } else {
            // Mostly the oldest, so that early chunks empty out.
            auto it = live.begin();
            for (uint32_t skip = random() % 4; skip > 0 && std::next(it) != live.end(); --skip)
                ++it;
            table.Erase(it->first);
            gone.push_back(it->first);
            live.erase(it);
        }
    }
    EXPECT_EQ(table.Size(), static_cast<int>(live.size()));
    EXPECT_EQ(table.HeldByPlugin(), static_cast<int>(live.size()));
    for (const auto& [token, value] : live) {
        const Thing* found = table.Find(token);
        ASSERT_NE(found, nullptr) << token;
        EXPECT_EQ(found->value, value);
    }
    for (const uintptr_t token : gone) {
        if (live.count(token) == 0) {
            EXPECT_EQ(table.Find(token), nullptr) << token;
        }
    }
    EXPECT_EQ(table.Find(other.Add(Thing{-1})), nullptr);
    EXPECT_EQ(table.Find(0), nullptr);
}

TEST(HostTablesTest, TextTableNumbersEachTextOnceInTheOrderFirstSeen) {
    TextTable table;
    std::vector<std::string> texts;
    for (int i = 0; i < 50000; ++i)
        texts.push_back(std::to_string(i * 7 % 1000) + "." + std::to_string(i));
    texts.push_back("");
    texts.push_back(std::string("nul\0inside", 10));
    texts.push_back(std::string(300, 'x'));  // longer than any position text
    for (std::size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(table.Intern(texts[i]), i) << texts[i];
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(table.Intern(texts[i]), i);
        EXPECT_EQ(table.Find(texts[i]), i);
        EXPECT_EQ(table.Text(static_cast<uint32_t>(i)), texts[i]);
    }
    EXPECT_EQ(table.Find("never seen"), TextTable::kNone);
    EXPECT_EQ(table.Find(std::string("nul", 3)), TextTable::kNone);  // a prefix is another text
}

TEST(HostTablesTest, TokenRunsGiveEachNumberOneTokenAndKnowOnlyTheirOwn) {
    TokenRuns runs;
    TokenRuns other;
    std::unordered_map<uintptr_t, uint32_t> seen;
    // Out of order, and far past the first run.
    for (const uint32_t number : {5u, 0u, 1023u, 1024u, 70000u, 3u, 69999u}) {
        const uintptr_t token = runs.Token(number);
        EXPECT_EQ(runs.Token(number), token) << number;
        EXPECT_EQ(runs.Number(token), number);
        EXPECT_TRUE(seen.emplace(token, number).second) << "token reused for " << number;
        EXPECT_EQ(other.Number(token), TokenRuns::kNone);
        EXPECT_EQ(runs.Number(token + 1), TokenRuns::kNone);  // between tokens
    }
    EXPECT_EQ(runs.Number(0), TokenRuns::kNone);
    EXPECT_EQ(runs.Number(other.Token(0)), TokenRuns::kNone);
}

}  // namespace
}  // namespace headless::detail
