#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/ErrNum.h"
#include "support/CSorter.h"

using namespace vellcfgrdr;
using V = std::vector<std::string>;

namespace {

V Sorted(V items, CompareMode mode) {
    CSorter::SortStringArray(items, mode);
    return items;
}

CollectionEx<std::string> Collection(const V& items) {
    CollectionEx<std::string> c;
    for (const auto& s : items)
        c.Add(s, "k" + s + std::to_string(c.Count()));
    return c;
}

V SortedCollection(const V& items, CompareMode mode) {
    return CSorter::SortedCollection(Collection(items), mode).GetValues();
}

}  // namespace

TEST(CSorter, BothModesAndWhereEqualKeysEnd) {
    EXPECT_EQ(Sorted({"b", "a", "C"}, CompareMode::Text), (V{"a", "b", "C"}));
    EXPECT_EQ(Sorted({"b", "a", "C"}, CompareMode::Binary), (V{"C", "a", "b"}));
    // Bytes of UTF-8 order as code points: "é" (U+00E9) after "z".
    EXPECT_EQ(Sorted({"é", "z", "É", "Z"}, CompareMode::Binary), (V{"Z", "z", "É", "é"}));
    EXPECT_TRUE(Sorted({}, CompareMode::Text).empty());
    // The gap-4 pass of the shell sort moves "a" to the front past "A"; with
    // gap 1 only, equal strings keep their order.
    EXPECT_EQ(Sorted({"c", "A", "x", "y", "a"}, CompareMode::Text), (V{"a", "A", "c", "x", "y"}));
    EXPECT_EQ(Sorted({"b", "B", "a", "A"}, CompareMode::Text), (V{"a", "A", "b", "B"}));

    // The heap sort of a collection leaves them otherwise, and drops the keys.
    const auto sorted =
        CSorter::SortedCollection(Collection({"b", "B", "a", "A"}), CompareMode::Text);
    EXPECT_EQ(sorted.GetValues(), (V{"A", "a", "B", "b"}));
    EXPECT_EQ(sorted.KeyByIndex(1), "");
    EXPECT_EQ(SortedCollection({"b", "a", "C"}, CompareMode::Binary), (V{"C", "a", "b"}));
    EXPECT_TRUE(SortedCollection({}, CompareMode::Text).empty());
}

TEST(CSorter, BothSortsOrderRandomInput) {
    std::mt19937 rng(3);
    for (int n : {1, 2, 3, 5, 13, 14, 41, 200}) {
        V items;
        CollectionEx<int> numbers;
        for (int i = 0; i < n; ++i) {
            items.push_back(std::string(1, static_cast<char>('a' + rng() % 26)) +
                            static_cast<char>('A' + rng() % 26));
            numbers.Add(static_cast<int>(rng() % 50));
        }
        auto expected = items;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Sorted(items, CompareMode::Binary), expected) << n;
        EXPECT_EQ(SortedCollection(items, CompareMode::Binary), expected) << n;
        auto nums = numbers.GetValues();
        std::sort(nums.begin(), nums.end());
        EXPECT_EQ(CSorter::SortedCollection(numbers, CompareMode::Binary).GetValues(), nums) << n;
    }
}

TEST(CSorter, SortDictionaryByKeyKeepsThePairs) {
    CDictionary<int> d;
    d.Add("beta", 2);
    d.Add("Alpha", 1);
    d.Add("gamma", 3);
    const auto text = CSorter::SortDictionaryByKey(d, CompareMode::Text);
    EXPECT_EQ(text.GetKeys(), (V{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(text.GetValues(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(text.Value("ALPHA"), 1);
    EXPECT_EQ(CSorter::SortDictionaryByKey(d, CompareMode::Binary).GetKeys(),
              (V{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(CSorter::SortDictionaryByKey(CDictionary<int>(), CompareMode::Text).Count(), 0);
}
