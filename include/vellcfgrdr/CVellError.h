#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "vellcfgrdr/VellExport.h"

namespace vellcfgrdr {

// The one error type of the component. Every failure that leaves a public
// operation is a CVellError carrying a number (run-time numbers below 1024,
// the component's own 14001..14003 above), a description and a source chain
// such as "VellCfgRdr > PlcCfgReader.ReadIOmap".
class VELL_API CVellError : public std::exception {
  public:
    static constexpr const char* kDefaultSource = "VellCfgRdr";

    CVellError(int32_t number, std::string description, std::string source = kDefaultSource);

    int32_t Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const std::string& Source() const noexcept { return source_; }

    // Line of an input file the error refers to; 0 when unknown.
    int32_t LineNumber() const noexcept { return lineNumber_; }
    void SetLineNumber(int32_t line) noexcept { lineNumber_ = line; }

    // Operating-system error code (errno) behind the failure; 0 when none.
    int32_t OsError() const noexcept { return osError_; }
    void SetOsError(int32_t code) noexcept { osError_ = code; }

    // Texts that are not valid UTF-8 are read by the component's one rule:
    // valid UTF-8 kept, other bytes Windows-1252.
    void SetDescription(std::string description);
    void SetSource(std::string source);

    const char* what() const noexcept override { return description_.c_str(); }

  private:
    int32_t number_;
    std::string description_;
    std::string source_;
    int32_t lineNumber_ = 0;
    int32_t osError_ = 0;
};

}  // namespace vellcfgrdr
