#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/ErrNum.h"
#include "support/CSorter.h"

using namespace vellcfgrdr;

namespace {

CollectionEx<std::string> Collection(const std::vector<std::string>& items) {
    CollectionEx<std::string> c;
    for (const auto& s : items)
        c.Add(s, "k" + s + std::to_string(c.Count()));
    return c;
}

}  // namespace

TEST(CSorter, SortStringArrayInBothModes) {
    std::vector<std::string> a{"b", "a", "C"};
    CSorter::SortStringArray(a, CompareMode::Text);
    EXPECT_EQ(a, (std::vector<std::string>{"a", "b", "C"}));
    a = {"b", "a", "C"};
    CSorter::SortStringArray(a, CompareMode::Binary);
    EXPECT_EQ(a, (std::vector<std::string>{"C", "a", "b"}));
    // Bytes of UTF-8 order as code points: "é" (U+00E9) after "z".
    a = {"é", "z", "É", "Z"};
    CSorter::SortStringArray(a, CompareMode::Binary);
    EXPECT_EQ(a, (std::vector<std::string>{"Z", "z", "É", "é"}));
    std::vector<std::string> none;
    CSorter::SortStringArray(none, CompareMode::Text);
    EXPECT_TRUE(none.empty());
}

TEST(CSorter, EqualKeysEndWhereTheShellSortLeavesThem) {
    // The gap-4 pass moves "a" to the front past "A"; a stable sort would
    // keep "A" first.
    std::vector<std::string> a{"c", "A", "x", "y", "a"};
    CSorter::SortStringArray(a, CompareMode::Text);
    EXPECT_EQ(a, (std::vector<std::string>{"a", "A", "c", "x", "y"}));
    // With gap 1 only, equal strings keep their order.
    a = {"b", "B", "a", "A"};
    CSorter::SortStringArray(a, CompareMode::Text);
    EXPECT_EQ(a, (std::vector<std::string>{"a", "A", "b", "B"}));
}

TEST(CSorter, EqualKeysEndWhereTheHeapSortLeavesThem) {
    const auto sorted =
        CSorter::SortedCollection(Collection({"b", "B", "a", "A"}), CompareMode::Text);
    EXPECT_EQ(sorted.GetValues(), (std::vector<std::string>{"A", "a", "B", "b"}));
    EXPECT_EQ(sorted.KeyByIndex(1), "");
    EXPECT_EQ(
        CSorter::SortedCollection(Collection({"b", "a", "C"}), CompareMode::Binary).GetValues(),
        (std::vector<std::string>{"C", "a", "b"}));
    EXPECT_EQ(CSorter::SortedCollection(CollectionEx<std::string>(), CompareMode::Text).Count(), 0);
}

TEST(CSorter, BothSortsOrderRandomInput) {
    std::mt19937 rng(3);
    for (int n : {1, 2, 3, 5, 13, 14, 41, 200}) {
        std::vector<std::string> items;
        CollectionEx<int> numbers;
        for (int i = 0; i < n; ++i) {
            items.push_back(std::string(1, static_cast<char>('a' + rng() % 26)) +
                            static_cast<char>('A' + rng() % 26));
            numbers.Add(static_cast<int>(rng() % 50));
        }
        auto shell = items;
        CSorter::SortStringArray(shell, CompareMode::Binary);
        auto expected = items;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shell, expected) << n;
        EXPECT_EQ(CSorter::SortedCollection(Collection(items), CompareMode::Binary).GetValues(),
                  expected)
            << n;
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
    EXPECT_EQ(text.GetKeys(), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(text.GetValues(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(text.Value("ALPHA"), 1);
    const auto binary = CSorter::SortDictionaryByKey(d, CompareMode::Binary);
    EXPECT_EQ(binary.GetKeys(), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(CSorter::SortDictionaryByKey(CDictionary<int>(), CompareMode::Text).Count(), 0);
}
