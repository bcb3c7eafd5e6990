#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "readers/CReaderKit.h"
#include "readers/IReader.h"
#include "support/CTextReader.h"

namespace vellcfgrdr {

// Reads the ASCII configuration export of the Halyard tool: nested blocks
// ("BEGIN name" ... "END") of "key = value" lines. The PLCConfig block names
// the model; each DropHead is a bus, each IODrop a drop on it and each
// IOModule a module of that drop. Blocks of any other name are skipped whole.
class CReadHalyard final : public IReader {
  public:
    // 0; 14003 when a line with a number that is not one was skipped (and
    // with it a module, drop or head without its place); 14002 for a model
    // of no known family; 321 without a PLCConfig block, without a model, or
    // when the file ends inside an open block; otherwise the number of the
    // last error met in a block.
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;

  private:
    // Advances to the next line and keeps count of the open blocks; false at
    // the end of the text.
    bool NextLine();
    bool Is(std::string_view keyword);
    // Block keyword "BEGIN"/"END" as a word of its own, so that keys such as
    // "EndAddress" are not taken for one.
    bool IsBegin();
    bool IsEnd();
    std::string Value() const;
    // The value of the current line as a whole number in min..max; nothing,
    // after the kit's warning `id` naming the line, otherwise.
    std::optional<int32_t> Number(int32_t min, int32_t max, MsgId id);

    void ReadPlcConfig();
    // Returns false when the model's family is unknown and reading stops.
    bool ReadCpuName();
    void ReadDropHead();
    void ReadIoDrop(int32_t bus);
    void ReadModule(int32_t bus, int32_t drop);
    // Reads up to the END that closes the block opened at the given depth.
    void SkipTo(int32_t depth);
    // A failed block: the status takes the error's number and the rest of the
    // block is passed over, so the enclosing block goes on after it.
    void BlockFailed(std::string_view procName, int32_t depth);

    CIoConfig* root_ = nullptr;
    std::optional<CReaderKit> kit_;
    CTextReader reader_;
    int32_t status_ = 0;
    int32_t depth_ = 0;  // blocks opened and not yet closed
    bool sawModel_ = false;
};

}  // namespace vellcfgrdr
