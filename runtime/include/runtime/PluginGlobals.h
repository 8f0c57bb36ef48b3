// The plug-in's process-wide state: its globals block and the suite pointers.
#pragma once

#include "hostinterface/HostInterface.h"

// Allocated through the host at start-up; survives unload and reload.
struct PluginGlobals {
    FilterHandle filter;       // written by the filter registration
    MenuItemHandle aboutItem;  // our item in the About submenu, or null
};
#if defined(__i386__) || defined(_M_IX86)
// The host keeps the block for us across unload and reload: two handles.
static_assert(sizeof(PluginGlobals) == 8);
HOST_RECORD_FIELD(PluginGlobals, filter, 0);
HOST_RECORD_FIELD(PluginGlobals, aboutItem, 4);
#endif

// Null before start-up and after shut-down.
extern PluginGlobals* gGlobals;

// Suite pointers, filled by AcquireSuites and emptied by ReleaseSuites.
extern const FilterSuite* sFilter;
extern const BlocksSuite* sBlocks;
extern const ArraySuite* sArray;
extern const ArtSuite* sArt;
extern const PathSuite* sPath;
extern const RandomSuite* sRandom;
extern const MatchingArtSuite* sMatchingArt;
extern const MenuSuite* sMenu;
extern const UnicodeStringSuite* sUnicodeString;
extern const PathStyleSuite* sPathStyle;
extern const ADMBasicSuite* sADMBasic;
extern const ADMDialogSuite* sADMDialog;
extern const ADMItemSuite* sADMItem;
extern const MdMemorySuite* sMdMemory;
extern const DictionarySuite* sDictionary;
