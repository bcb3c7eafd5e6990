#include "readers/CConvertQor.h"

#include <cstring>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "model/CIoConfig.h"
#include "readers/CReadTesselQor.h"
#include "support/CByteCursor.h"
#include "support/CFileSys.h"
#include "support/CInputFile.h"
#include "support/CStdio.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CConvertQor";
// The error source the description steps carry.
const Where kWhere("clsConvertQor");

constexpr int64_t kDcfRecord = 64;
constexpr int64_t kDcfRecords = 7;
constexpr uint16_t kDcfVersion = 0x2673;
constexpr int64_t kDpfRecord = 3;
constexpr int64_t kDdfHeader = 6;
constexpr int64_t kNdfRecord = 195;
constexpr int64_t kTdfRecord = 67;

constexpr int32_t kFirstAddress = 2;
constexpr int32_t kLastAddress = 6379;
constexpr int32_t kHardwareBase = 76;
constexpr int32_t kBlock = 197;
constexpr int32_t kSlotsPerRack = 16;
constexpr int32_t kRackSlots = 4 * kSlotsPerRack;

std::string TwoDigits(int32_t n) {
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

[[noreturn]] void Broken(const std::string& what) {
    ModGSCore::RaiseError(what, ErrNum::kBadFileFormat);
}

}  // namespace

std::string CConvertQor::DescriptionKey(int32_t address, std::string_view ioBus) {
    if (address < kFirstAddress || address > kLastAddress) return {};
    if (address == 2) return "N";
    if (address == 3) return "S";
    if (address == 4) return "P1";
    if (address <= 8) return "C" + std::to_string(address - 4);
    if (address <= 27) return "L" + TwoDigits(address - 8);
    if (address < kHardwareBase) {
        const int32_t n = address - 28;
        return std::string(1, "0134"[n / 12]) + TwoDigits(n % 12 + 1);
    }
    const int32_t block = (address - kHardwareBase) / kBlock;
    const int32_t offset = (address - kHardwareBase) % kBlock;
    const int32_t perBus = ioBus == "Marl" ? 8 : 16;
    const std::string bd = TwoDigits(1 + block / perBus) + TwoDigits(1 + block % perBus);
    if (offset == 0) return "D" + bd;
    if (offset <= 4) return "R" + bd + std::to_string(offset);
    const int32_t slotIndex = (offset - 5) % kRackSlots;
    const std::string key = "T" + bd + std::to_string(1 + slotIndex / kSlotsPerRack) +
                            TwoDigits(1 + slotIndex % kSlotsPerRack);
    const int32_t side = (offset - 5) / kRackSlots;
    return side == 0 ? key : key + (side == 1 ? "I" : "O");
}

void CConvertQor::ReadWardenDoc(const std::string& mdfPath, CIoConfig& root) {
    root_ = &root;
    folder_ = CFileSys::FilePathPart(mdfPath);
    base_ = CFileSys::FileBasename(mdfPath);
    OpenOmbraDatabase();
    root.DebugMessage("PlaceDoc", kSource);
    try {
        PlaceDoc();
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "PlaceDoc");
    }
}

std::string CConvertQor::Companion(std::string_view extension) const {
    const std::string base = CFileSys::FileChangeExtension(folder_ + base_, extension);
    if (CFileSys::FileExists(base)) return base;
    const std::string upper =
        CFileSys::FileChangeExtension(folder_ + base_, CUtf8::ToUpper(extension));
    if (CFileSys::FileExists(upper)) return upper;
    Broken("File not found: " + base);
}

void CConvertQor::OpenOmbraDatabase() {
    try {
        std::vector<uint8_t> mdf;
        CStdio::ReadBinFile(Companion("mdf"), mdf);
        if (!CReadTesselQor::IsMainFile(mdf)) Broken("Not a Tessel Qor main file: " + base_);
        CByteCursor mdfCur(mdf, "Tessel Qor main file", ErrNum::kBadFileFormat);
        ioBus_ = CReadTesselQor::ReadConfiguration(mdfCur).proc.ioBus;

        ReadDCF();

        CStdio::ReadBinFile(Companion("ddf"), ddf_);
        CByteCursor ddf(ddf_, "Tessel Qor descriptions", ErrNum::kBadFileFormat);
        const auto signature = ddf.Bytes(4);
        if (std::memcmp(signature.data(), "TSDD", 4) != 0)
            Broken("Not a description file: " + base_);
        ddfRecordLength_ = ddf.U16(ByteOrder::Little);
        if (ddfRecordLength_ < kDdfHeader || ddfRecordLength_ < width_)
            Broken("Description records of " + std::to_string(ddfRecordLength_) +
                   " bytes are too short");

        CStdio::ReadBinFile(Companion("dpf"), dpf_);
        // Notes and further texts give nothing to the exchange file: their
        // records are only checked to be there, so their sizes suffice.
        ndfSize_ = RecordFileSize("ndf", kNdfRecord);
        tdfSize_ = RecordFileSize("tdf", kTdfRecord);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "OpenOmbraDatabase");
    }
}

int64_t CConvertQor::RecordFileSize(std::string_view extension, int64_t recordLength) const {
    const auto size = static_cast<int64_t>(CInputFile(Companion(extension)).Size());
    if (size % recordLength != 0)
        Broken("The ." + std::string(extension) + " file of " + base_ +
               " ends inside a record of " + std::to_string(recordLength) + " bytes");
    return size;
}

void CConvertQor::CheckRecord(std::string_view what, int64_t pointer, int64_t recordLength,
                              int64_t fileSize) const {
    if (pointer * recordLength > fileSize)
        Broken(std::string(what) + " record " + std::to_string(pointer) + " is not in the file");
}

void CConvertQor::ReadDCF() {
    try {
        CStdio::ReadBinFile(Companion("dcf"), dcf_);
        CByteCursor dcf(dcf_, "Tessel Qor description settings", ErrNum::kBadFileFormat);
        dcf.CheckCount(kDcfRecords, kDcfRecord);
        const auto signature = dcf.Bytes(4);
        if (std::memcmp(signature.data(), "TSDC", 4) != 0 ||
            dcf.U16(ByteOrder::Little) != kDcfVersion)
            Broken("Not a description settings file: " + base_);
        dcf.Seek(14);
        edited_ = dcf.U8() == 1;
        dcf.Seek((kDcfRecords - 1) * kDcfRecord);
        width_ = dcf.U16(ByteOrder::Little);
        lines_ = dcf.U16(ByteOrder::Little);
        if (width_ < 1 || width_ > kDcfRecord)
            Broken("Descriptor width " + std::to_string(width_) + " outside 1 to 64");
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadDCF");
    }
}

std::string CConvertQor::DescriptionText(int64_t pointer) const {
    CByteCursor ddf(ddf_, "Tessel Qor descriptions", ErrNum::kBadFileFormat);
    if (pointer < 2) Broken("Description pointer " + std::to_string(pointer) + " names no record");
    CReadTesselQor::SeekRecord(ddf, pointer, ddfRecordLength_);
    const auto line = ddf.Bytes(width_);
    size_t n = line.size();
    while (n > 0 && (line[n - 1] == ' ' || line[n - 1] == 0))
        --n;
    return CUtf8::FromCp1252(std::string_view(reinterpret_cast<const char*>(line.data()), n));
}

void CConvertQor::PlaceDoc() {
    CByteCursor dpf(dpf_, "Tessel Qor address pointers", ErrNum::kBadFileFormat);
    const auto addresses = static_cast<int32_t>(dpf.Size() / kDpfRecord);
    for (int32_t address = kFirstAddress; address <= kLastAddress && address <= addresses;
         ++address) {
        dpf.Seek((address - 1) * kDpfRecord);
        const int64_t high = dpf.U8();
        const int64_t pointer = high * 65536 + dpf.U16(ByteOrder::Little);
        if (pointer == 0) continue;
        const std::string text = DescriptionText(pointer);
        const std::string key = DescriptionKey(address, ioBus_);
        // The note and further text of a description have its record number.
        CheckRecord("Note", pointer, kNdfRecord, ndfSize_);
        if (std::string_view("NL0T").find(key[0]) != std::string_view::npos)
            CheckRecord("Further text", pointer, kTdfRecord, tdfSize_);
        if (key.empty() || key[0] != 'T' || key.find_first_of("IO") != std::string::npos) continue;
        const int32_t bus = std::stoi(key.substr(1, 2));
        const int32_t drop = std::stoi(key.substr(3, 2));
        const int32_t rack = key[5] - '0';
        const int32_t slot = std::stoi(key.substr(6, 2));
        if (rack >= 1 && slot >= 1 && !text.empty())
            root_->ModuleList().SetModule(bus, drop, rack, slot, text);
    }
}

}  // namespace vellcfgrdr
