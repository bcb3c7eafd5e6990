#pragma once

#include <cstdint>

namespace vellcfgrdr {

// Names of the bilingual message table's entries (English at the id, French
// at id + 1). Every message text is asked for by one of these names.
enum MsgId : int32_t {
    msgUsedBy2SlotModule = 130,
    msgInvalidFamily = 140,
    msgUnsupported = 150,
    msgPartMatched = 160,
    msgRackCountMismatch = 170,
    msgReading = 180,
    msgWardenModulesUnread = 190,
    msgThirdPartyModule = 200,
    msgCompleteWithWarnings = 210,
    msgImportNotCorrect = 220,
    msgVirtualModuleUnresolved = 230,
    msgPlcNotFoundSelected = 240,
    msgFamilyNotFoundAssumed = 250,
    msgInvalidRackNumber = 260,
    msgQuernVersion = 270,
    msgUnknownDrop = 280,
    msgUnknownOrUnsupported = 290,
    msgUnknownModule = 300,
    msgUnspecifiedProblem = 310,
    msgPlcNotValid = 320,
    msgUnknownFileFormat = 330,
    msgUnknownModuleAt = 340,
    msgModuleLeftOut = 350,
    msgDropsLeftOut = 360,
    msgNoController = 370,
    msgBadModuleNumber = 380,
    msgNoDirectReplacement = 710,
    msgPleaseNote = 830,
    msgChassisDeeper = 1150,
    msgChassisDepth = 1160,
    msgModuleBlockSkipped = 1220,
    msgUnknownModuleType = 1230,
    msgFileEndsInBlock = 1310,
    msgArchiveUnreadable = 1320,
    msgArchiveEntryMissing = 1330,
    // Details of file errors: what the path is, and why it cannot be used.
    msgFileIsFolder = 1700,
    msgFileNotRegular = 1710,
    msgFileTooLarge = 1720,
    msgFileLinkLoop = 1730,
    msgFolderNotSearchable = 1740,
    msgFileNotReadable = 1750,
    msgFolderMissing = 1760,
    msgPathNotFolder = 1770,
    msgTempFolderMissing = 1780,
    msgBadEntryName = 1790,
    // The reader kit and the readers' own warnings.
    msgBadSlotNumber = 2000,
    msgBadRackNumber = 2010,
    msgBadDropNumber = 2020,
    msgSlotWithoutModule = 2030,
    msgVersionNotSupported = 2050,
    msgDropLeftOut = 2060,
    msgRackLeftOut = 2070,
    msgModuleLeftOutNoParent = 2080,
    msgNoDefaultRack = 2090,
    msgDuplicatePart = 2100,
    msgMappedToUnknown = 2110,
    msgTextCut = 2120,
    // The public face: formats by name, the summary of a read.
    msgExtensionsRead = 2400,
    msgUnknownFormatName = 2410,
    msgReadComplete = 2420,
    msgReadCompleteWithWarnings = 2430,
    msgReadFailed = 2440,
    msgReadSummary = 2450,
};

}  // namespace vellcfgrdr
