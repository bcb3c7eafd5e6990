#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CDictionary.h"
#include "support/CEnumSet.h"
#include "support/CStack.h"
#include "support/CStringCollection.h"
#include "support/CollectionEx.h"
#include "support/KeyedList.h"

using namespace vellcfgrdr;

namespace {

// Prefix and number; spelled out because GCC 12 warns wrongly about
// literal + std::string temporaries.
std::string Numbered(const char* prefix, unsigned n) {
    std::string s(prefix);
    s += std::to_string(n);
    return s;
}

int32_t ErrorOf(auto&& f) {
    return test::CatchError(f).Number();
}

}  // namespace

TEST(KeyedList, MatchesAReferenceModelUnderRandomEdits) {
    // Removals leave holes that positional access closes later; a model
    // kept in a plain vector must agree after every step.
    KeyedList<int> list;
    std::vector<std::pair<std::optional<std::string>, int>> model;
    std::mt19937 rng(7);
    for (int step = 0; step < 3000; ++step) {
        const int op = static_cast<int>(rng() % 6);
        const std::string key = Numbered("k", rng() % 200);
        if (op <= 1) {
            bool taken = false;
            for (auto& [k, v] : model)
                taken |= k == key;
            if (taken) {
                EXPECT_EQ(ErrorOf([&] { list.Add(key, step); }), ErrNum::kDuplicateKey);
            } else {
                list.Add(key, step);
                model.emplace_back(key, step);
            }
        } else if (op == 2) {
            list.Add(step);
            model.emplace_back(std::nullopt, step);
        } else if (op == 3 && !model.empty()) {
            const auto pos = static_cast<int32_t>(rng() % model.size()) + 1;
            list.RemoveAt(pos);
            model.erase(model.begin() + pos - 1);
        } else if (op == 4) {
            size_t i = 0;
            while (i < model.size() && model[i].first != key)
                ++i;
            EXPECT_EQ(list.Remove(key), i < model.size());
            if (i < model.size()) model.erase(model.begin() + static_cast<long>(i));
        } else if (op == 5) {
            const auto pos = static_cast<int32_t>(rng() % (model.size() + 1)) + 1;
            list.Insert(pos, std::nullopt, -step);
            model.insert(model.begin() + pos - 1, {std::nullopt, -step});
        }
        ASSERT_EQ(list.Count(), static_cast<int32_t>(model.size()));
        if (step % 50 == 0 || step > 2900) {
            for (size_t i = 0; i < model.size(); ++i) {
                const auto pos = static_cast<int32_t>(i) + 1;
                ASSERT_EQ(list.At(pos), model[i].second);
                const std::string* k = list.KeyAt(pos);
                ASSERT_EQ(k ? std::optional<std::string>(*k) : std::nullopt, model[i].first);
                if (k) {
                    ASSERT_EQ(list.PositionOf(*k), pos);
                }
            }
        }
    }
}

TEST(KeyedList, ReferencesSurviveGrowthAndRemovalIterationSkipsHoles) {
    KeyedList<std::string> list;
    std::string& first = list.Add("a", "first");
    for (int i = 0; i < 1000; ++i)
        list.Add(Numbered("n", static_cast<unsigned>(i)), "x");
    list.Insert(1, "front", "f");
    EXPECT_EQ(&first, list.Find("a"));
    EXPECT_EQ(list.PositionOf("a"), 2);

    // Removing the current item while iterating is allowed.
    int visited = 0;
    for (auto it = list.begin(); it != list.end(); ++it) {
        ++visited;
        if (it.KeyPtr() && *it.KeyPtr() != "a") list.Remove(*it.KeyPtr());
    }
    EXPECT_EQ(visited, 1002);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(&list.At(1), &first);
    EXPECT_EQ(ErrorOf([&] { list.At(2); }), ErrNum::kSubscript);
    EXPECT_EQ(ErrorOf([&] { list.At(0); }), ErrNum::kSubscript);
    EXPECT_EQ(ErrorOf([&] { list.Get("front"); }), ErrNum::kInvalidCall);
}

TEST(KeyedList, CopiesAreDeepAndTupleKeysWork) {
    KeyedList<std::string, std::array<int32_t, 4>, ArrayHash> racks;
    racks.Add({1, 2, 3, 0}, "rack");
    racks.Add({1, 2, 4, 0}, "other");
    racks.Remove({1, 2, 3, 0});
    auto copy = racks;
    racks.At(1) = "changed";
    EXPECT_EQ(copy.At(1), "other");
    EXPECT_EQ(copy.PositionOf({1, 2, 4, 0}), 1);
    EXPECT_EQ(*copy.Find({1, 2, 4, 0}), "other");
    EXPECT_EQ(copy.Find({1, 2, 3, 0}), nullptr);
    auto moved = std::move(copy);
    EXPECT_EQ(moved.Get(std::array<int32_t, 4>{1, 2, 4, 0}), "other");
}

TEST(CollectionEx, KeysIgnoreCaseButKeepTheirSpelling) {
    CollectionEx<int> c;
    c.Add(1, "POS1");
    EXPECT_EQ(ErrorOf([&] { c.Add(2, "pos1"); }), ErrNum::kDuplicateKey);
    c.Add(2, "Été");
    c.Add(3);
    EXPECT_EQ(c.ItemByKey("pos1"), 1);
    EXPECT_EQ(c.Item("éTÉ"), 2);
    EXPECT_EQ(c.GetKeys(), (std::vector<std::string>{"POS1", "Été", ""}));
    EXPECT_EQ(ErrorOf([&] { c.ItemByKey("nope"); }), ErrNum::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { c.ItemByIndex(4); }), ErrNum::kSubscript);
    EXPECT_EQ(ErrorOf([&] { c.KeyByIndex(0); }), ErrNum::kSubscript);
    EXPECT_EQ(ErrorOf([&] { c.RemoveByKey("nope"); }), ErrNum::kInvalidCall);
}

TEST(CollectionEx, AddsBeforeOrAfterPositionOrKey) {
    CollectionEx<std::string> c;
    c.Add("only", std::nullopt, 5, std::nullopt);  // ignored while empty
    c.Add("c", "C");
    c.Add("a", "A", 1);
    c.Add("b", std::nullopt, std::nullopt, "a");
    c.Add("d", "D", std::nullopt, 4);
    c.Add("x", std::nullopt, "a");
    EXPECT_EQ(c.GetValues(), (std::vector<std::string>{"x", "a", "b", "only", "c", "d"}));
    EXPECT_EQ(ErrorOf([&] { c.Add("y", std::nullopt, 7); }), ErrNum::kSubscript);
    EXPECT_EQ(ErrorOf([&] { c.Add("y", std::nullopt, "missing"); }), ErrNum::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { c.Add("y", std::nullopt, 1, 1); }), ErrNum::kInvalidCall);
    EXPECT_EQ(c.Count(), 6);
}

TEST(CDictionary, PairsInOrderWithCaseInsensitiveKeys) {
    CDictionary<int> d;
    d.Add("Alpha", 1);
    d.Add("beta", 2);
    EXPECT_EQ(ErrorOf([&] { d.Add("ALPHA", 3); }), ErrNum::kDuplicateKey);
    d.SetValue("alpha", 10);
    d.SetValueByIndex(2, 20);
    EXPECT_EQ(d.GetValues(), (std::vector<int>{10, 20}));
    std::string stored;
    int value = 0;
    EXPECT_TRUE(d.TryGetKey("ALPHA", stored));
    EXPECT_EQ(stored, "Alpha");
    EXPECT_FALSE(d.TryGetValue("gamma", value));
    EXPECT_EQ(ErrorOf([&] { d.Value("gamma"); }), ErrNum::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { d.SetValue("gamma", 1); }), ErrNum::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { d.ValueByIndex(3); }), ErrNum::kSubscript);

    // A key removed and added again comes last.
    d.Remove("ALPHA");
    d.Add("alpha", 30);
    std::vector<std::string> pairs;
    for (const auto& p : d)
        pairs.push_back(p.Key + "=" + std::to_string(p.Value));
    EXPECT_EQ(pairs, (std::vector<std::string>{"beta=20", "alpha=30"}));
}

TEST(CStringCollection, AddFollowsUniqueAndKeyRules) {
    CStringCollection s;
    EXPECT_TRUE(s.Add("A"));
    EXPECT_TRUE(s.Add("A"));
    EXPECT_TRUE(s.Add(""));  // nothing to add, yet no failure
    EXPECT_EQ(s.Count(), 2);
    EXPECT_TRUE(s.Add("v", "Key"));
    EXPECT_FALSE(s.Add("w", "KEY"));
    EXPECT_EQ(s.Item("key"), "v");

    CStringCollection u;
    u.SetUnique(true);
    EXPECT_TRUE(u.Add("A"));
    EXPECT_FALSE(u.Add("a"));
    EXPECT_TRUE(u.Add("", "k"));  // an explicit key still adds
    EXPECT_EQ(u.Count(), 2);
    EXPECT_TRUE(u.ContainsKey("A"));
    u.Remove("a");
    EXPECT_EQ(u.Item(1), "");
}

TEST(CStringCollection, ArraysCopiesAndSorting) {
    CStringCollection s;
    const std::vector<std::string> in{" x ", "", "y"};
    s.AddArray(in, true);
    EXPECT_EQ(s.CopyToArray(false), (std::vector<std::string>{"x", "y"}));
    s.AddArray(in, false);
    EXPECT_EQ(s.Count(), 5);
    EXPECT_EQ(s.Item(4), "");
    s.Clear();
    s.AddCollection(std::vector<std::string>{"b", "C", "a"});
    EXPECT_EQ(s.CopyToArray(true), (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_EQ(s.Sorted().GetValues(), (std::vector<std::string>{"C", "a", "b"}));
    s.SetCompareMode(CompareMode::Text);
    EXPECT_EQ(s.Sorted().GetValues(), (std::vector<std::string>{"a", "b", "C"}));
}

TEST(CStack, LastInFirstOut) {
    CStack<int> st;
    st.Push(1);
    st.Push(2);
    EXPECT_EQ(st.Pop(), 2);
    EXPECT_EQ(st.Pop(), 1);
    EXPECT_EQ(ErrorOf([&] { st.Pop(); }), ErrNum::kSubscript);
}

TEST(CEnumSet, HoldsValuesZeroToThirtyOne) {
    enum class Group : int32_t { A = 0, B = 5, Top = 31, Bad = 32 };
    CEnumSet set;
    EXPECT_FALSE(set.Allows(Group::A));
    set.AllowAlso(Group::B);
    set.AllowAlso(Group::Top);
    EXPECT_EQ(static_cast<uint32_t>(set.AsLong()), 0x80000020u);
    set.AllowOnly(Group::A);
    EXPECT_TRUE(set.Allows(0));
    EXPECT_FALSE(set.Allows(Group::B));
    set.AllowAll();
    EXPECT_TRUE(set.Allows(17));
    EXPECT_EQ(ErrorOf([&] { set.AllowAlso(Group::Bad); }), ErrNum::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { set.Allows(-1); }), ErrNum::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { set.AllowOnly(40000); }), ErrNum::kOverflow);
    EXPECT_TRUE(set.Allows(0));  // the failed AllowOnly changed nothing
}
