#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/ErrNum.h"
#include "core/Where.h"
#include "vellcfgrdr/CVellError.h"

namespace vellcfgrdr {

// Debug mode, traces, assertions and the error rules of the whole component:
// RaiseError starts an error, ReRaise passes it on adding the innermost place
// to its source, ErrorText turns it into a one-line message.
class ModGSCore {
  public:
    // "Debugmode" read once per process: on when its leading number is not 0.
    static bool IsDebugMode();
    // Decides debug mode from a value of "Debugmode" (exposed for tests).
    static bool DebugModeFromValue(std::string_view value);

    // A line "<source padded to 20> : <text>" on standard error, in debug mode only.
    static void DebugTrace(std::string_view text, std::string_view source = {});
    static std::string FormatTrace(std::string_view text, std::string_view source);
    // Sends every later trace (text and source apart) to the handler instead
    // of standard error; an empty handler restores standard error.
    using TraceHandler = std::function<void(const std::string& text, const std::string& source)>;
    static void SetTraceHandler(TraceHandler handler);
    static void Assert(bool condition, std::string_view text, const Where& where,
                       std::string_view procName);
    static std::string WhereText(const Where& where, std::string_view procName);

    // The fixed text of a run-time error number; the generic application
    // error text for numbers without one (and for every number from 1024 on).
    static const char* StandardErrorText(int32_t number) noexcept;

    [[noreturn]] static void RaiseError(std::string_view detail, int32_t number);
    // Raises the number of a system error code (ErrNum::FromErrno), keeping
    // the code as the error's OsError.
    [[noreturn]] static void RaiseOsError(int code, std::string_view detail,
                                          ErrNum::Subject subject = ErrNum::Subject::file);
    // To be called inside a catch block: passes the error being handled on.
    [[noreturn]] static void ReRaise(const Where& where, std::string_view procName,
                                     std::string_view extra = {});
    // To be called inside a catch block: the error as a one-line text.
    static std::string ErrorText(const Where& where, std::string_view procName,
                                 std::string_view extra = {});
    // To be called inside a catch block: the error being handled as a
    // CVellError; other exceptions are mapped to the fitting number.
    static CVellError CurrentError();
    static std::string ApiErrorText(int32_t code);

    // Runs f and passes any error on by the ReRaise rule.
    template <class F>
    static auto Guarded(const Where& where, std::string_view procName, F&& f) -> decltype(f()) {
        try {
            return f();
        } catch (...) {
            ReRaise(where, procName);
        }
    }
};

}  // namespace vellcfgrdr
