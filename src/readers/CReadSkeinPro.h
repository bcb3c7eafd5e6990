#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/MsgId.h"
#include "readers/CReaderKit.h"
#include "readers/IReader.h"
#include "support/CStack.h"
#include "support/CTextReader.h"

namespace vellcfgrdr {

// Reads the hardware configuration of a Skein Pro text export: nested
// keyword blocks (HARD_CONFIGURATION, CU, BUS, RACK, SUPPLY, MODULE, ...)
// walked by a state machine that pushes the enclosing state on entering a
// block and pops it at the block's own END line. Lines no state knows are
// ignored. Every module belongs to the Heron family, BriskFinch being the
// fallback when a module name is matched.
class CReadSkeinPro final : public IReader {
  public:
    enum State : int32_t {
        stInitial = 0,
        stHardConfiguration = 1,
        stCu = 2,
        stSubModule = 3,
        stLogical = 4,
        stBus = 5,
        stRack = 6,
        stSupply = 7,
        stModule = 8,
        stError = 9,
    };

    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;

    static const char* StateName(int32_t state) noexcept;

  private:
    void HandleLine(std::string_view line);
    void Enter(State next);
    void Leave();
    bool StartsWith(std::string_view keyword) { return text_.LineStartsWith(keyword); }

    void ReadBusLine(std::string_view line);
    void ReadCpuReference(std::string_view line);
    void ReadCpuAddress(std::string_view line);
    void ReadRackLine(std::string_view line);
    void ReadRackReference(std::string_view line, int32_t rack);
    void ReadSupplyReference(std::string_view line);
    void PlaceModule();

    std::string RackPartName(std::string_view reference) const;
    void ReportReplacement(std::string_view oldName, std::string_view newName) const;
    // A word of the current line as a whole number in [low, high]; nothing
    // (after the warning id naming the line) when it is missing, not a
    // number or outside.
    std::optional<int32_t> LineNumber(std::string_view word, int32_t low, int32_t high, MsgId id);

    CIoConfig* root_ = nullptr;
    CReaderKit* kit_ = nullptr;
    CTextReader text_;
    State state_ = stInitial;
    CStack<State> stack_;
    int32_t result_ = 0;
    bool sawHardConfiguration_ = false;
    int32_t busCounter_ = 0;
    int32_t drop_ = 0;
    std::string rackReference1_;
    std::string rackReference2_;
    bool secondRack_ = false;
    // Reset at every MODULE line, so that a block without an address or a
    // reference can never reuse the previous module's.
    std::optional<int32_t> address_;
    std::string reference_;
    int32_t moduleLine_ = 0;
    // Between MODULE and its END_MODULE: a text that ends there lost it.
    bool inModule_ = false;
};

}  // namespace vellcfgrdr
