// Readers on several threads at once: every example converted 50 times by
// 8 threads together gives the bytes (document, status and messages) of a
// conversion made alone. Shared state (the parts knowledge, the message
// table, the work folders) is what this guards; under ThreadSanitizer it
// also shows races that happen to give the right bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "TestUtil.h"
#include "readers/ReaderRegistry.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

constexpr size_t kThreads = 8;
constexpr size_t kRunsPerExample = 50;

std::vector<std::string> Examples() {
    std::vector<std::string> files;
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(VELL_SOURCE_DIR) / "examples"))
        if (entry.is_regular_file() && ReaderRegistry::DescribeFile(entry.path().string()))
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string Convert(const std::string& path) {
    CPlcCfgReader reader;
    std::string out;
    reader.EvtInfoMessage.Subscribe(
        [&](const std::string& text, eMessageLevel level, const std::string& source) {
            out += std::to_string(level) + " " + source + ": " + text + "\n";
        });
    try {
        out += "status " + std::to_string(reader.ReadIOmap(path)) + "\n";
    } catch (const CVellError& e) {
        out += "raised " + std::to_string(e.Number()) + ": " + e.Description() + "\n";
    }
    return out + reader.Xml();
}

}  // namespace

TEST(Concurrency, EveryExampleOnEightThreadsGivesTheBytesOfOneThread) {
    test::EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    const std::vector<std::string> examples = Examples();
    ASSERT_FALSE(examples.empty());
    std::vector<std::string> alone;
    for (const std::string& e : examples)
        alone.push_back(Convert(e));

    // Runs handed out in turn, so that different readers overlap.
    std::atomic<size_t> next{0};
    std::vector<std::vector<size_t>> mismatches(kThreads);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (size_t run; (run = next++) < examples.size() * kRunsPerExample;) {
                const size_t e = run % examples.size();
                if (Convert(examples[e]) != alone[e]) mismatches[t].push_back(e);
            }
        });
    for (std::thread& t : threads)
        t.join();
    for (const auto& list : mismatches)
        for (const size_t e : list)
            ADD_FAILURE() << examples[e] << " converted differently on a thread";
}
