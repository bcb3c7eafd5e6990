#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/CHardwareView.h"
#include "vellcfgrdr/CPlcCfgReader.h"

namespace vellcfgrdr {

// Writes the rack report of one conversion: a single self-contained HTML page
// (inline style, no script, a policy that forbids every fetch) with the PLC,
// each bus and drop, each rack as a row of slots coloured by resolution, the
// messages and the totals. Sized for screen and for A4 paper.
//
// Every text that comes from the input (names, paths, messages) is escaped;
// bytes that are not UTF-8 and control characters become U+FFFD, so a
// hostile name can neither add markup nor break the page.
class CHtmlReportWriter {
  public:
    // At most this many messages are listed; the rest are counted.
    static constexpr size_t kMaxMessages = 2000;
    // A rack with more numbered positions than this shows its occupied slots
    // only, with a gap mark where positions are skipped.
    static constexpr int32_t kMaxDrawnSlots = 128;

    static std::string Write(const CHardwareView& view, int32_t status, std::string_view statusText,
                             const std::vector<CMessageRecord>& messages);

    // An index page of several reports: one row per project.
    struct IndexEntry {
        std::string project;  // as given to the batch
        std::string link;     // report file, relative to the index; empty when none
        int32_t status = 0;   // the reader's status, or the number of the error raised
        bool raised = false;
        std::string statusText;
        std::string plc;
        int32_t modules = 0, resolved = 0, ambiguous = 0, unresolved = 0, warnings = 0;
    };
    static std::string WriteIndex(const std::vector<IndexEntry>& entries);

    // Text as HTML character data or attribute value.
    static std::string Escape(std::string_view text);
};

}  // namespace vellcfgrdr
