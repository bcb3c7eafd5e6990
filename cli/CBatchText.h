#pragma once

#include <string>
#include <string_view>

namespace vellcfgrdr {

// A field of the batch's summary.csv. Names and paths come from the input
// and may hold any bytes.
class CBatchText {
  public:
    // Control characters as \uXXXX, bytes that are not UTF-8 as U+FFFD;
    // quoted when it must be; a text that a spreadsheet would take for a
    // formula (=, +, -, @ first) is given a leading apostrophe.
    static std::string CsvText(std::string_view s);
};

}  // namespace vellcfgrdr
