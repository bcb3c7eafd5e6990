#include "parts/CAdoRecordset.h"

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

CAdoRecordset::CAdoRecordset(std::string source, int32_t lockType, int32_t cursorType,
                             bool disconnected, std::vector<std::string> fieldNames,
                             std::vector<std::vector<CAdoValue>> rows)
    : source_(std::move(source)),
      lockType_(lockType),
      cursorType_(cursorType),
      disconnected_(disconnected),
      names_(std::move(fieldNames)),
      rows_(std::move(rows)) {}

void CAdoRecordset::MoveNext() noexcept {
    if (pos_ < RecordCount()) ++pos_;
}

void CAdoRecordset::MovePrevious() noexcept {
    if (pos_ >= 0) --pos_;
}

const std::string& CAdoRecordset::FieldName(int32_t index) const {
    if (index < 0 || index >= FieldCount())
        ModGSCore::RaiseError("no field " + std::to_string(index), ErrNum::kSubscript);
    return names_[static_cast<size_t>(index)];
}

const CAdoValue& CAdoRecordset::Field(int32_t index) const {
    FieldName(index);
    if (Bof() || Eof()) ModGSCore::RaiseError("no current record", ErrNum::kPastEnd);
    return rows_[static_cast<size_t>(pos_)][static_cast<size_t>(index)];
}

const CAdoValue& CAdoRecordset::Field(std::string_view name) const {
    for (int32_t i = 0; i < FieldCount(); ++i)
        if (CUtf8::EqualsNoCase(names_[static_cast<size_t>(i)], name)) return Field(i);
    ModGSCore::RaiseError("no field '" + std::string(name) + "'", ErrNum::kSubscript);
}

}  // namespace vellcfgrdr
