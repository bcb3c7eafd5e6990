#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vellcfgrdr {

class CByteCursor;
class CIoConfig;

// Parses the Warden table of a Dunlin controller (its I/O map: per drop a
// header, then one record per module) into drops and modules of the root.
// The PLC, its name and family must be set first: drop families and module
// ids are resolved against them. One object per parse.
//
// The table is bytes, 16-bit words with the high byte first (callers whose
// source stores words low byte first swap each pair before). A trailing odd
// byte is no word and is ignored.
//
// Result: 0 when every drop was read; 321 when a drop failed (the model
// refused it, or one of its records was bad, the first such record in a
// parse also giving warning 190); otherwise the number of the error that
// ended the parse, 62 for a table that ends inside a drop header (which
// also gives the warning).
class CReadDunlinWarden {
  public:
    int32_t ParseWarden(std::span<const uint8_t> table, CIoConfig& root);
    // The same table held in a byte string (one char per byte).
    int32_t ParseWarden(std::string_view table, CIoConfig& root);

  private:
    // False when a record of the drop failed; the cursor is then past every
    // record that could be delimited.
    bool ReadRecords(CByteCursor& cur, int32_t bus, int32_t drop, int32_t count);
    bool ReadGarnetRecords(CByteCursor& cur, int32_t bus, int32_t drop, int32_t count);
    void WarnOnce();

    CIoConfig* root_ = nullptr;
    bool warned_ = false;
};

}  // namespace vellcfgrdr
