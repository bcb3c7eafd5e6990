#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "readers/IReader.h"

namespace vellcfgrdr {

// Reads the application image of a Brisk7 PLC. The image must start with
// the Brisk7 signature; one that carries a Skein-3 segment is handed to
// CReadSkein3, any other is scanned for the module references stored in it
// as text ("BRK..." modules, racks and supplies, "PMK..." processors), each
// preceded three bytes earlier by its slot + 1. A slot lower than the one
// before starts the next rack. Everything lies in drop 1 of bus 0.
class CReadBrisk7 final : public IReader {
  public:
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;

  private:
    // What a scanned name is; kind is a PartType, or kSkip.
    struct Kind {
        int32_t kind;
        int32_t subKind;
    };
    static constexpr int32_t kSkip = 9;
    // Classifies a scanned name, which loses its spaces and may be replaced
    // (a processor by the family default, an unknown name by the first
    // placeholder part whose pattern it fits).
    Kind Classify(std::string& name) const;
    int32_t GetIOmap_Brisk(std::span<const uint8_t> bytes);
    void SetProcessor(const std::string& name);
    bool IsProcessor(const std::string& name) const;
    void Warn(const std::string& text);

    CIoConfig* root_ = nullptr;
    std::vector<std::string> genericCpus_;
    bool processorPlaced_ = false;
    bool incomplete_ = false;
};

}  // namespace vellcfgrdr
