#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parts/CAdoValue.h"

namespace vellcfgrdr {

// A record set as a query delivered it: every row is read when the set is
// opened, so it stays readable after its connection closes. The cursor
// starts on the first record; Bof/Eof are true before the first and after
// the last record (both at once for an empty set).
class CAdoRecordset {
  public:
    CAdoRecordset(std::string source, int32_t lockType, int32_t cursorType, bool disconnected,
                  std::vector<std::string> fieldNames, std::vector<std::vector<CAdoValue>> rows);

    const std::string& Source() const noexcept { return source_; }
    int32_t LockType() const noexcept { return lockType_; }
    int32_t CursorType() const noexcept { return cursorType_; }
    // Opened with the disconnect setting (readable after CloseDb either way).
    bool Disconnected() const noexcept { return disconnected_; }

    int32_t RecordCount() const noexcept { return static_cast<int32_t>(rows_.size()); }
    bool Bof() const noexcept { return pos_ < 0 || rows_.empty(); }
    bool Eof() const noexcept { return pos_ >= RecordCount(); }
    void MoveFirst() noexcept { pos_ = 0; }
    void MoveLast() noexcept { pos_ = RecordCount() - 1; }
    void MoveNext() noexcept;
    void MovePrevious() noexcept;

    int32_t FieldCount() const noexcept { return static_cast<int32_t>(names_.size()); }
    const std::string& FieldName(int32_t index) const;
    // The value of a field of the current record, by position or by name
    // (letter case ignored). An unknown field raises 9; no current record
    // (Bof or Eof) raises 62.
    const CAdoValue& Field(int32_t index) const;
    const CAdoValue& Field(std::string_view name) const;

  private:
    std::string source_;
    int32_t lockType_;
    int32_t cursorType_;
    bool disconnected_;
    std::vector<std::string> names_;
    std::vector<std::vector<CAdoValue>> rows_;
    int32_t pos_ = 0;
};

}  // namespace vellcfgrdr
