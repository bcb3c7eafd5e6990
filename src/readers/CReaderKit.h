#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/MsgId.h"
#include "support/FmtArg.h"

namespace vellcfgrdr {

class CIoConfig;

// What every reader shares: the ending for a file of another format, whole
// numbers read with their range checked before any arithmetic, warnings
// from the message table, and the status that tells the caller input was
// left out.
//
// Usage, inside a reader's GetIoConfig:
//
//     CReaderKit kit(root, kSource);
//     ...
//     if (!sawHeader) return kit.NotOurFormat();          // message, then 321
//     // A slot that is no number, or outside 0..kMaxSlot, is reported with
//     // the line's number and text; the line is skipped.
//     const std::optional<int32_t> slot =
//         kit.LineNumber(word, 0, kMaxSlot, msgBadSlotNumber, reader.LineNo(), line);
//     if (!slot) continue;
//     kit.Warn(msgSomething, {name, *slot});               // table text, warning level
//     kit.SkipLine(msgLineWithoutModule, reader.LineNo(), line);
//     return kit.Status(ErrNum::kOk);                      // 14003 once input was left out
//
// Every text posted comes from the message table by a MsgId: add the
// English text at a free id (a multiple of 10) and the French one at id + 1.
class CReaderKit {
  public:
    CReaderKit(const CIoConfig& root, std::string source)
        : root_(root), source_(std::move(source)) {}

    // "Unsupported or unknown file format: <path>" at the error level; returns
    // 321, the status of a file that is not of the reader's format.
    int32_t NotOurFormat() const;

    // The whole decimal number (an optional sign, then digits; blanks around
    // it ignored) when it lies in min..max; nothing otherwise. Hexadecimal,
    // fractions, exponents and words are no numbers here.
    static std::optional<int32_t> ToInt(std::string_view text, int32_t min, int32_t max) noexcept;

    // ToInt, and when it gives nothing the message `id` is posted as a
    // warning with the line number, the text, min, max and the line (in that
    // order of placeholders), and the run counts as having left input out.
    std::optional<int32_t> LineNumber(std::string_view text, int32_t min, int32_t max, MsgId id,
                                      int32_t lineNo, std::string_view line);

    // Posts the message `id` (line number, line) as a warning and counts the
    // run as having left input out.
    void SkipLine(MsgId id, int32_t lineNo, std::string_view line);

    // The table text of `id`, filled, posted at the warning level.
    void Warn(MsgId id, std::initializer_list<FmtArg> args) const;
    // Marks the run as having left something out (the reader warned itself).
    void LeftOut() noexcept { leftOut_ = true; }
    bool HasLeftOut() const noexcept { return leftOut_; }

    // The status to return: 14003 instead of 0 once input was left out.
    int32_t Status(int32_t status) const noexcept;

    // A line as it is quoted in a message: at most kQuoteChars characters.
    static std::string Quote(std::string_view line);
    static constexpr size_t kQuoteChars = 80;

  private:
    const CIoConfig& root_;
    std::string source_;
    bool leftOut_ = false;
};

}  // namespace vellcfgrdr
