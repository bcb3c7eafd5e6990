#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "vellcfgrdr/CEvent.h"

using namespace vellcfgrdr;

// Handlers that change the list while it is being raised: each raise runs
// the handlers subscribed when it began, skipping those removed meanwhile.
TEST(CEvent, HandlersMaySubscribeAndUnsubscribeWhileRaised) {
    CEvent<int> evt;
    std::vector<std::string> calls;
    size_t second = 0;
    evt.Subscribe([&](int n) {
        calls.push_back("first " + std::to_string(n));
        // Enough new handlers to move the list in memory.
        for (int i = 0; i < 64; ++i)
            evt.Subscribe([&](int) { calls.push_back("late"); });
        evt.Unsubscribe(second);
    });
    second = evt.Subscribe([&](int) { calls.push_back("second"); });
    const size_t third = evt.Subscribe([&](int n) {
        calls.push_back("third " + std::to_string(n));
        if (n == 1) evt.Raise(2);  // raised again from a handler
    });
    evt.Raise(1);
    EXPECT_EQ(calls.front(), "first 1");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "second"), 0);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "third 1"), calls.end());

    // A handler that removes itself and the whole list.
    CEvent<> bare;
    int runs = 0;
    size_t self = 0;
    self = bare.Subscribe([&] {
        ++runs;
        bare.Unsubscribe(self);
        bare.Clear();
    });
    bare.Subscribe([&] { ++runs; });
    bare.Raise();
    bare.Raise();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(bare.Empty());
    evt.Unsubscribe(third);
}
