#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellcfgrdr {

class CIoConfig;

// The description pass of a Tessel Qor project: reads the description files
// beside the main file (".dcf", ".ddf", ".dpf", ".ndf", ".tdf") and places
// the text of every slot description as the part name of the module at that
// slot. Layouts and the reference-address table: docs/tessel-qor.md.
class CConvertQor {
  public:
    // Raises (321, the step as source) on a missing or broken file; what
    // was placed before stays.
    void ReadWardenDoc(const std::string& mdfPath, CIoConfig& root);

    // The description key of a reference address under a bus designation
    // ("Keel", "Marl", "Scree"); empty outside 2 to 6379.
    static std::string DescriptionKey(int32_t address, std::string_view ioBus);

  private:
    void OpenOmbraDatabase();
    void ReadDCF();
    void PlaceDoc();
    // The companion file of the project with that extension, in lower or
    // upper case; raises when there is none.
    std::string Companion(std::string_view extension) const;
    std::string DescriptionText(int64_t pointer) const;
    // The size of a companion file of fixed-length records; raises when it
    // ends inside a record.
    int64_t RecordFileSize(std::string_view extension, int64_t recordLength) const;
    // Raises when record `pointer` (from 1) lies beyond the file's size.
    void CheckRecord(std::string_view what, int64_t pointer, int64_t recordLength,
                     int64_t fileSize) const;

    CIoConfig* root_ = nullptr;
    std::string folder_;
    std::string base_;
    std::string ioBus_;
    std::vector<uint8_t> dcf_;
    std::vector<uint8_t> ddf_;
    std::vector<uint8_t> dpf_;
    bool edited_ = false;
    int32_t width_ = 0;
    int32_t lines_ = 0;
    int64_t ddfRecordLength_ = 0;
    int64_t ndfSize_ = 0;
    int64_t tdfSize_ = 0;
};

}  // namespace vellcfgrdr
