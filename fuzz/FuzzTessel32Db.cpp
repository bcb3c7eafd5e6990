// libFuzzer target of the inner layer of a Tessel 32 project: the bytes are
// the project database as the container's entry holds it, handed to the
// reader past the expansion, so that the compression does not stand between
// the fuzzer and the database; the XML is written from what was read.
#include <stdint.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "FuzzInput.h"
#include "component/CVellBases.h"
#include "model/CIoConfig.h"
#include "output/CLoomWriter.h"
#include "readers/CReadTessel32.h"
#include "vellcfgrdr/CVellError.h"

#ifndef VELL_FUZZ_MAX_LEN
#define VELL_FUZZ_MAX_LEN (1 << 20)
#endif

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > VELL_FUZZ_MAX_LEN) return 0;
    const vellcfgrdr::fuzz::InputFolder folder;
    const fs::path db = folder.Path() / "Project.mdb";
    FILE* f = std::fopen(db.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    vellcfgrdr::CVellPartDb& parts = vellcfgrdr::CVellBases::Instance().PartDb();
    vellcfgrdr::CIoConfig root;
    root.SetPartInfo(parts.PartInfo());
    root.SetPartMapping(parts.PartMapping());
    root.SetFamilyInfo(parts.FamilyInfo());
    root.SetProjectFileName((folder.Path() / "Project.pwx").string());
    try {
        vellcfgrdr::CReadTessel32().ReadDatabase(root, db.string());
        (void)vellcfgrdr::CLoomWriter(parts.PartInfo()).CreateXml(root);
    } catch (const vellcfgrdr::CVellError&) {
        // A numbered error is a valid outcome; anything else escapes and fails.
    }
    return 0;
}
