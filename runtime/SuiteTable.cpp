#include "runtime/SuiteTable.h"

#include "runtime/PluginGlobals.h"

PluginGlobals* gGlobals = nullptr;

const FilterSuite* sFilter = nullptr;
const BlocksSuite* sBlocks = nullptr;
const ArraySuite* sArray = nullptr;
const ArtSuite* sArt = nullptr;
const PathSuite* sPath = nullptr;
const RandomSuite* sRandom = nullptr;
const MatchingArtSuite* sMatchingArt = nullptr;
const MenuSuite* sMenu = nullptr;
const UnicodeStringSuite* sUnicodeString = nullptr;
const PathStyleSuite* sPathStyle = nullptr;
const ADMBasicSuite* sADMBasic = nullptr;
const ADMDialogSuite* sADMDialog = nullptr;
const ADMItemSuite* sADMItem = nullptr;
const MdMemorySuite* sMdMemory = nullptr;
const DictionarySuite* sDictionary = nullptr;

namespace {
template <class Suite>
const void** Slot(const Suite*& pointer) {
    return reinterpret_cast<const void**>(&pointer);
}
}  // namespace

const SuiteTableEntry SuiteTable[15] = {
    {kFilterSuite, kFilterSuiteVersion, Slot(sFilter)},
    {kBlocksSuite, kBlocksSuiteVersion, Slot(sBlocks)},
    {kArraySuite, kArraySuiteVersion, Slot(sArray)},
    {kArtSuite, kArtSuiteVersion, Slot(sArt)},
    {kPathSuite, kPathSuiteVersion, Slot(sPath)},
    {kRandomSuite, kRandomSuiteVersion, Slot(sRandom)},
    {kMatchingArtSuite, kMatchingArtSuiteVersion, Slot(sMatchingArt)},
    {kMenuSuite, kMenuSuiteVersion, Slot(sMenu)},
    {kUnicodeStringSuite, kUnicodeStringSuiteVersion, Slot(sUnicodeString)},
    {kPathStyleSuite, kPathStyleSuiteVersion, Slot(sPathStyle)},
    {kADMBasicSuite, kADMBasicSuiteVersion, Slot(sADMBasic)},
    {kADMDialogSuite, kADMDialogSuiteVersion, Slot(sADMDialog)},
    {kADMItemSuite, kADMItemSuiteVersion, Slot(sADMItem)},
    {kMdMemorySuite, kMdMemorySuiteVersion, Slot(sMdMemory)},
    {kDictionarySuite, kDictionarySuiteVersion, Slot(sDictionary)},
};

HostErr AcquireSuites(const BasicSuite* basic) {
    HostErr first = kNoErr;
    for (const SuiteTableEntry& entry : SuiteTable) {
        HostErr error = basic->AcquireSuite(entry.name, entry.version, entry.suite);
        // A success without a table would send the handler through a null
        // pointer; the frame then does no work, as for a refused suite.
        if (error == kNoErr && *entry.suite == nullptr) error = kOutOfMemoryErr;
        if (first == kNoErr) first = error;
    }
    return first;
}

HostErr ReleaseSuites(const BasicSuite* basic) {
    HostErr first = kNoErr;
    for (const SuiteTableEntry& entry : SuiteTable) {
        if (*entry.suite == nullptr) continue;
        const HostErr error = basic->ReleaseSuite(entry.name, entry.version);
        if (error == kNoErr) {
            *entry.suite = nullptr;
        } else if (first == kNoErr) {
            first = error;
        }
    }
    return first;
}
