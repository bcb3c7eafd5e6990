#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "vellcfgrdr/CPlcCfgReader.h"

namespace vellcfgrdr {

// Converts many projects at once: every file of a known format under the
// folders given (and every file given by name), each on its own reader, over
// a pool of threads; one exchange XML per input, optionally one rack report
// each and an index, and summary.csv and summary.json in the output folder.
// A file that fails is a row of the summary, never the end of the batch.
class CBatchRunner {
  public:
    struct Options {
        std::vector<std::string> inputs;  // folders and files
        std::string outDir;
        unsigned jobs = 0;  // 0: one per core
        bool report = false;
    };

    // One input and what became of it.
    struct Result {
        std::string input;  // the path converted
        std::string base;   // output name without extension, relative to outDir
        bool raised = false;
        bool xmlWritten = false, reportWritten = false;
        int32_t status = 0;  // the reader's status, or the number of the error raised
        std::string description;
        CConversionSummary summary;
        int32_t warnings = 0, errors = 0;

        bool Converted() const noexcept {
            return !raised && (status == eReadOk || status == eReadWarnings);
        }
    };

    explicit CBatchRunner(Options options);

    // The inputs in the order they are converted, each with a base name no
    // other output shares (letter case ignored). Folders are walked
    // recursively without following links to folders, skipping hidden
    // entries and the output folder; a folder that cannot be read is a
    // result of its own with the error.
    void Collect();
    std::vector<Result>& Results() noexcept { return results_; }

    // Converts every collected input. progress is called on the calling
    // thread at least every 100 ms with the indexes finished since its last
    // call and the number done; conversions end early once stop is set
    // (those running are completed). Returns whether every input was done.
    bool Convert(const std::function<void(const std::vector<size_t>&, size_t)>& progress,
                 const std::atomic<bool>& stop);
    // summary.csv, summary.json and, with report, index.html.
    void WriteSummaries() const;

    // 0 when every file converted, 1 when any ended with another status, 2
    // when any raised an error.
    int ExitStatus() const noexcept;

    // The tool's "batch" command: parses the arguments after "batch".
    static int Main(int argc, char** argv);

  private:
    void ConvertOne(Result& r) const;
    void AddFile(const std::string& path, const std::string& rel);

    Options options_;
    std::vector<Result> results_;
    std::unordered_set<std::string> usedBases_;  // lower case
    std::unordered_set<std::string> seenInputs_;
};

}  // namespace vellcfgrdr
