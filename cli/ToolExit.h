#pragma once

namespace vellcfgrdr::ToolExit {

// The tool's exit statuses, the same for every subcommand (documented in the
// usage text and the README).
constexpr int kOk = 0;
constexpr int kStatus = 1;    // the reader ended with a status other than 0 or 14003
constexpr int kRaised = 2;    // an error was raised: input, format, output, memory
constexpr int kWarnings = 3;  // --strict, and the run had warnings
constexpr int kUsage = 64;    // the command line is wrong

// The source of the tool's own messages.
constexpr const char* kSource = "vellcfgrdr";

}  // namespace vellcfgrdr::ToolExit
