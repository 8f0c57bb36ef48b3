// The boundary between the plug-in and its host: messages, suites and codes.
//
// Everything the plug-in and the host exchange is declared here and nowhere
// else. The records are plain data, the suites are tables of plain function
// pointers, and every fallible operation returns a HostErr. The host owns
// every object it hands out unless an operation's comment says otherwise.
#pragma once

#include <cstddef>
#include <cstdint>

// Calling convention of every function that crosses the boundary.
#if defined(_WIN32) && !defined(_WIN64)
#define HOSTAPI __cdecl
#else
#define HOSTAPI
#endif

// ---------------------------------------------------------------------------
// Scalars, codes and opaque host objects

using HostErr = int32_t;   // 0 = success; otherwise mostly a four-character code
using HostBool = int32_t;  // 0 = false, non-zero = true

constexpr HostErr FourCharCode(char a, char b, char c, char d) {
    return static_cast<HostErr>((static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<uint8_t>(d)));
}

constexpr HostErr kNoErr = 0;
constexpr HostErr kStopErr = FourCharCode('S', 'T', 'O', 'P');         // the user cancelled
constexpr HostErr kOutOfMemoryErr = FourCharCode('!', 'M', 'E', 'M');  // no memory
static_assert(kStopErr == 0x53544F50 && kOutOfMemoryErr == 0x214D454D);

// Opaque references; only the host knows what they point to.
using PluginRef = struct HostPlugin*;
using ArtHandle = struct HostArt*;
using FilterHandle = struct HostFilter*;
using MenuItemHandle = struct HostMenuItem*;
using MenuGroupHandle = struct HostMenuGroup*;
using DictionaryRef = struct HostDictionary*;
using DictKey = struct HostDictKey*;
using ArrayRef = struct HostArray*;
using UniStringRef = struct HostUniString*;
using DialogRef = struct HostDialog*;
using ItemRef = struct HostDialogItem*;
using NotifierRef = struct HostNotifier*;

// A host handle: a pointer to a pointer to a block of host memory.
using HostHandle = char**;

struct RealPoint {
    float h;  // x
    float v;  // y
};

// ---------------------------------------------------------------------------
// Messages

struct BasicSuite;

// The header every message starts with.
struct MessageData {
    int32_t checkWord;        // host's own; never read
    PluginRef self;           // passed back whenever the plug-in registers or opens something
    void* globals;            // kept by the host for the plug-in between messages
    const BasicSuite* basic;  // the basic suite for this message
};

// "AI Filter" messages.
struct FilterMessage {
    MessageData d;
    FilterHandle filter;    // never read
    HostHandle parameters;  // the filter's own record; the plug-in may store a new handle here
};

// "AI Menu" messages.
struct MenuMessage {
    MessageData d;
    MenuItemHandle menuItem;  // the item the user chose
};

// Message callers and selectors; compared exactly.
constexpr const char* kSPAccessCaller = "SP Access";
constexpr const char* kSPUnloadSelector = "Unload";
constexpr const char* kSPReloadSelector = "Reload";
constexpr const char* kSPInterfaceCaller = "SP Interface";
constexpr const char* kSPStartupSelector = "Startup";
constexpr const char* kSPShutdownSelector = "Shutdown";
constexpr const char* kMenuCaller = "AI Menu";
constexpr const char* kFilterCaller = "AI Filter";
constexpr const char* kGoSelector = "AI Go";
constexpr const char* kGetParametersSelector = "AI Get Parameters";

// The plug-in's single entry point.
using PluginMainProc = HostErr(HOSTAPI*)(const char* caller, const char* selector, void* message);
constexpr const char* kPluginMainName = "PluginMain";

// ---------------------------------------------------------------------------
// The basic suite, passed in every message

struct BasicSuite {
    // Fills *suite with the host's table for name/version; the table stays the
    // host's. Unknown name or version: an error and *suite left null.
    HostErr(HOSTAPI* AcquireSuite)(const char* name, int32_t version, const void** suite);
    // Gives back one acquisition of name/version. An error means it is still held.
    HostErr(HOSTAPI* ReleaseSuite)(const char* name, int32_t version);
    // Allocates size bytes into *block; the caller frees it with FreeBlock.
    HostErr(HOSTAPI* AllocateBlock)(int32_t size, void** block);
    // Frees a block from AllocateBlock.
    HostErr(HOSTAPI* FreeBlock)(void* block);
};

// ---------------------------------------------------------------------------
// Filters

constexpr const char* kFilterSuite = "AI Filter Suite";
constexpr int32_t kFilterSuiteVersion = 2;

// Category and title of a filter, as Pascal strings (length byte, then text).
struct PlatformFilterData {
    unsigned char* category;
    unsigned char* title;
};

struct FilterSuite {
    // Registers a filter; the host copies name and data and owns *filter.
    HostErr(HOSTAPI* AddFilter)(PluginRef self, const char* name, PlatformFilterData* data,
                                int32_t options, FilterHandle* filter);
    // The host's menu item for a registered filter, into *item.
    HostErr(HOSTAPI* GetFilterMenuItem)(FilterHandle filter, MenuItemHandle* item);
};

// ---------------------------------------------------------------------------
// Blocks

constexpr const char* kBlocksSuite = "SP Blocks Suite";
constexpr int32_t kBlocksSuiteVersion = 2;

struct BlocksSuite {
    // Allocates size bytes into *block; the caller frees it with FreeBlock.
    HostErr(HOSTAPI* AllocateBlock)(int32_t size, void** block);
    // Frees a block that this suite or the host handed to the caller.
    HostErr(HOSTAPI* FreeBlock)(void* block);
};

// ---------------------------------------------------------------------------
// Arrays of reals

constexpr const char* kArraySuite = "AI Array Suite";
constexpr int32_t kArraySuiteVersion = 4;

struct ArraySuite {
    // A new empty array into *array, owned by the caller until it is stored in
    // a dictionary (which then owns it) or released.
    HostErr(HOSTAPI* CreateArray)(ArrayRef* array);
    // Gives back an array the caller owns.
    HostErr(HOSTAPI* Release)(ArrayRef array);
    // Inserts a zero entry before position (0..size); bad position: an error.
    HostErr(HOSTAPI* InsertEntry)(ArrayRef array, int32_t position);
    // Reads the real at index into *value; bad index or other kind: an error.
    HostErr(HOSTAPI* GetRealEntry)(ArrayRef array, int32_t index, float* value);
    // Sets the entry at index to a real; bad index: an error.
    HostErr(HOSTAPI* SetRealEntry)(ArrayRef array, int32_t index, float value);
};

// ---------------------------------------------------------------------------
// Art objects

constexpr const char* kArtSuite = "AI Art Suite";
constexpr int32_t kArtSuiteVersion = 13;

constexpr int16_t kPathArt = 2;

struct ArtSuite {
    // The art object's type into *type.
    HostErr(HOSTAPI* GetArtType)(ArtHandle art, int16_t* type);
};

// ---------------------------------------------------------------------------
// Paths

constexpr const char* kPathSuite = "AI Path Suite";
constexpr int32_t kPathSuiteVersion = 7;

struct PathSegment {
    RealPoint p;      // anchor
    RealPoint in;     // in-direction point
    RealPoint out;    // out-direction point
    HostBool corner;  // passed through
};

struct PathSuite {
    // The number of segments into *count; not a path: an error.
    HostErr(HOSTAPI* GetPathSegmentCount)(ArtHandle art, int16_t* count);
    // Copies count segments from index first into the caller's segments.
    HostErr(HOSTAPI* GetPathSegments)(ArtHandle art, int16_t first, int16_t count,
                                      PathSegment* segments);
    // Replaces count segments from index first with the caller's segments.
    HostErr(HOSTAPI* SetPathSegments)(ArtHandle art, int16_t first, int16_t count,
                                      const PathSegment* segments);
};

// ---------------------------------------------------------------------------
// Path styles

constexpr const char* kPathStyleSuite = "AI Path Style Suite";
constexpr int32_t kPathStyleSuiteVersion = 9;

constexpr int32_t kGrayColor = 0;
constexpr int32_t kFourColor = 1;
constexpr int32_t kThreeColor = 5;

struct PathStyle {
    HostBool fillPaint;  // non-zero when the path is filled
    HostBool strokePaint;
    int32_t fillColorKind;  // kGrayColor, kFourColor, kThreeColor
    float fillColor[4];     // gray: [0] is the level (1 = black); three: r g b; four: c m y k
    HostBool fillOverprint;
    int32_t strokeColorKind;
    float strokeColor[4];
    float strokeWidth;
};

struct PathStyleSuite {
    // Copies the art's style into *style.
    HostErr(HOSTAPI* GetPathStyle)(ArtHandle art, PathStyle* style);
    // Replaces the art's style with *style.
    HostErr(HOSTAPI* SetPathStyle)(ArtHandle art, const PathStyle* style);
};

// ---------------------------------------------------------------------------
// Random numbers

constexpr const char* kRandomSuite = "AI Random Suite";
constexpr int32_t kRandomSuiteVersion = 3;

struct RandomSuite {
    // The next number of the host's sequence, uniform in [0, 1).
    float(HOSTAPI* FloatRnd)();
};

// ---------------------------------------------------------------------------
// Matching art

constexpr const char* kMatchingArtSuite = "AI Matching Art Suite";
constexpr int32_t kMatchingArtSuiteVersion = 5;

constexpr int32_t kArtSelected = 1;

struct MatchingArtSpec {
    int16_t type;       // kPathArt, ...
    int32_t whichAttr;  // attribute mask
    int32_t attr;       // attribute values under the mask
};

struct MatchingArtSuite {
    // The art that meets any of the specs, as a handle of *numMatches
    // ArtHandles into *matches (null when none match), in document order.
    // The caller disposes of a non-null handle with the memory suite.
    HostErr(HOSTAPI* GetMatchingArt)(MatchingArtSpec* specs, int16_t numSpecs, ArtHandle*** matches,
                                     int32_t* numMatches);
};

// ---------------------------------------------------------------------------
// Menus

constexpr const char* kMenuSuite = "AI Menu Suite";
constexpr int32_t kMenuSuiteVersion = 8;

constexpr const char* kAboutMenuGroup = "About";  // the host's About menu group

// An item to add: the group it goes into and its text.
struct PlatformAddMenuItemData {
    const char* groupName;
    UniStringRef itemText;
};

struct MenuSuite {
    // Adds an item; the host copies data and owns *item. itemName may be null.
    HostErr(HOSTAPI* AddMenuItem)(PluginRef self, const char* itemName,
                                  const PlatformAddMenuItemData* data, int32_t options,
                                  MenuItemHandle* item);
    // Adds a group named groupName as the submenu of item; the host owns *group.
    HostErr(HOSTAPI* AddMenuGroupAsSubMenu)(const char* groupName, int32_t options,
                                            MenuItemHandle item, MenuGroupHandle* group);
    // The number of menu groups into *count.
    HostErr(HOSTAPI* CountMenuGroups)(int32_t* count);
    // Group number index (0..count-1) into *group.
    HostErr(HOSTAPI* GetNthMenuGroup)(int32_t index, MenuGroupHandle* group);
    // The group's name into *name; the text stays the host's.
    HostErr(HOSTAPI* GetMenuGroupName)(MenuGroupHandle group, const char** name);
    // Lets the host enable or check item by an action and six conditions.
    HostErr(HOSTAPI* UpdateMenuItemAutomatically)(MenuItemHandle item, int32_t action,
                                                  int32_t ifMenu1, int32_t ifMenu2,
                                                  int32_t ifObjects, int32_t ifNotObjects,
                                                  int32_t ifDocument, int32_t ifNotDocument);
};

// ---------------------------------------------------------------------------
// Unicode strings

constexpr const char* kUnicodeStringSuite = "AI Unicode String Suite";
constexpr int32_t kUnicodeStringSuiteVersion = 6;

constexpr int32_t kPlatformEncoding = 0;  // zero-terminated strings (multi-byte)
constexpr int32_t kPascalEncoding = 1;    // Pascal strings (single-byte)

// Filled by GetAs: block holds the encoded bytes; free it with the blocks suite.
struct HostByteBuffer {
    int32_t reserved;  // zero
    char* block;       // zero before the call
};

struct UnicodeStringSuite {
    // Makes *str a new host string from count bytes in encoding; the caller
    // destroys it. Bytes that do not decode: an error, *str left null.
    HostErr(HOSTAPI* Initialize)(UniStringRef* str, const char* bytes, uint32_t count,
                                 int32_t encoding);
    // Makes *str a new host string equal to *source.
    HostErr(HOSTAPI* InitializeCopy)(UniStringRef* str, const UniStringRef* source);
    // Destroys *str (when not null) and sets it to null. Never fails.
    void(HOSTAPI* Destroy)(UniStringRef* str);
    // Makes *str equal to *source, creating *str if it is null.
    HostErr(HOSTAPI* Assign)(UniStringRef* str, const UniStringRef* source);
    // Number of characters. Never fails.
    uint32_t(HOSTAPI* Length)(const UniStringRef* str);
    // Removes count characters from position; count 0xFFFFFFFF means to the end.
    HostErr(HOSTAPI* Erase)(UniStringRef* str, uint32_t position, uint32_t count);
    // Encodes *str into a new host block in buffer->block and its byte count
    // into *count. A character the encoding lacks: an error.
    HostErr(HOSTAPI* GetAs)(const UniStringRef* str, int32_t encoding, HostByteBuffer* buffer,
                            uint32_t* count);
};

// ---------------------------------------------------------------------------
// Dialog manager: basics

constexpr const char* kADMBasicSuite = "ADM Basic Suite";
constexpr int32_t kADMBasicSuiteVersion = 10;

struct ADMBasicSuite {
    // Copies entry index of string list listId, zero-terminated and cut to
    // bufferSize - 1 bytes, into buffer. Leaves buffer untouched on failure.
    void(HOSTAPI* GetIndexString)(PluginRef self, int32_t listId, int32_t index, char* buffer,
                                  int32_t bufferSize);
    // Shows the modal About box.
    void(HOSTAPI* AboutBox)(const char* title, const char* text);
};

// ---------------------------------------------------------------------------
// Dialog manager: dialogs and their items

constexpr const char* kADMDialogSuite = "ADM Dialog Suite";
constexpr int32_t kADMDialogSuiteVersion = 10;

using ADMUserData = void*;
using ADMDialogInitProc = HostErr(HOSTAPI*)(DialogRef dialog);
using ADMItemNotifyProc = void(HOSTAPI*)(ItemRef item, NotifierRef notifier);

struct ADMDialogSuite {
    // Runs dialog resource dialogId modally: calls initProc, then lets the user
    // work; returns the id of the item that closed it (the Cancel id, 2, when
    // the window was closed). userData stays the caller's.
    int32_t(HOSTAPI* Modal)(PluginRef self, const char* name, int32_t dialogId, int32_t style,
                            ADMDialogInitProc initProc, ADMUserData userData, int32_t options);
    // The user data given to Modal.
    ADMUserData(HOSTAPI* GetUserData)(DialogRef dialog);
    // The dialog's item with that id, or null.
    ItemRef(HOSTAPI* GetItem)(DialogRef dialog, int32_t itemId);
};

constexpr const char* kADMItemSuite = "ADM Item Suite";
constexpr int32_t kADMItemSuiteVersion = 7;

constexpr int32_t kADMPointUnits = 1;
constexpr int32_t kADMPercentUnits = 6;

// Item operations return nothing; a null item is ignored.
struct ADMItemSuite {
    DialogRef(HOSTAPI* GetDialog)(ItemRef item);
    void(HOSTAPI* SetNotifyProc)(ItemRef item, ADMItemNotifyProc proc);
    // The host's own handling of a notification (for a button: closing the dialog).
    void(HOSTAPI* DefaultNotify)(ItemRef item, NotifierRef notifier);
    void(HOSTAPI* Enable)(ItemRef item, HostBool enable);
    void(HOSTAPI* Activate)(ItemRef item, HostBool active);
    void(HOSTAPI* SelectAll)(ItemRef item);
    void(HOSTAPI* SetUnits)(ItemRef item, int32_t units);
    void(HOSTAPI* SetMinFloatValue)(ItemRef item, float value);
    void(HOSTAPI* SetMaxFloatValue)(ItemRef item, float value);
    void(HOSTAPI* SetFloatValue)(ItemRef item, float value);
    float(HOSTAPI* GetFloatValue)(ItemRef item);
    void(HOSTAPI* SetBooleanValue)(ItemRef item, HostBool value);
    HostBool(HOSTAPI* GetBooleanValue)(ItemRef item);
};

// ---------------------------------------------------------------------------
// Memory handles

constexpr const char* kMdMemorySuite = "AI MdMemory Suite";
constexpr int32_t kMdMemorySuiteVersion = 1;

struct MdMemorySuite {
    // A new handle of size zeroed bytes into *handle; the caller (or the host,
    // once handed over) disposes of it.
    HostErr(HOSTAPI* NewHandle)(uint32_t size, HostHandle* handle);
    // Frees a handle and its block.
    HostErr(HOSTAPI* DisposeHandle)(HostHandle handle);
};

// ---------------------------------------------------------------------------
// Dictionaries

constexpr const char* kDictionarySuite = "AI Dictionary Suite";
constexpr int32_t kDictionarySuiteVersion = 6;

struct DictionarySuite {
    // A new empty dictionary into *dict; the caller releases it.
    HostErr(HOSTAPI* CreateDictionary)(DictionaryRef* dict);
    // Releases a dictionary and every array stored in it.
    HostErr(HOSTAPI* Release)(DictionaryRef dict);
    // The host's key for a zero-terminated name; keys live as long as the host.
    DictKey(HOSTAPI* Key)(const char* name);
    // Whether dict has an entry under key.
    HostBool(HOSTAPI* IsKnown)(DictionaryRef dict, DictKey key);
    // The array stored under key into *array; it stays the dictionary's.
    HostErr(HOSTAPI* GetArrayEntry)(DictionaryRef dict, DictKey key, ArrayRef* array);
    // Stores array under key. On success the dictionary owns the array (and
    // releases what was there); on failure the caller still owns it.
    HostErr(HOSTAPI* SetArrayEntry)(DictionaryRef dict, DictKey key, ArrayRef array);
};

// ---------------------------------------------------------------------------
// Layouts on 32-bit x86, the host's platform: every record that crosses the
// boundary, field by field. A change here breaks every host that loads us.

#if defined(__i386__) || defined(_M_IX86)
#define HOST_RECORD_FIELD(Record, field, offset) \
    static_assert(offsetof(Record, field) == (offset), #Record "::" #field " moved")

static_assert(sizeof(MessageData) == 16);
HOST_RECORD_FIELD(MessageData, checkWord, 0);
HOST_RECORD_FIELD(MessageData, self, 4);
HOST_RECORD_FIELD(MessageData, globals, 8);
HOST_RECORD_FIELD(MessageData, basic, 12);

static_assert(sizeof(FilterMessage) == 24);
HOST_RECORD_FIELD(FilterMessage, d, 0);
HOST_RECORD_FIELD(FilterMessage, filter, 16);
HOST_RECORD_FIELD(FilterMessage, parameters, 20);

static_assert(sizeof(MenuMessage) == 20);
HOST_RECORD_FIELD(MenuMessage, d, 0);
HOST_RECORD_FIELD(MenuMessage, menuItem, 16);

static_assert(sizeof(RealPoint) == 8);
HOST_RECORD_FIELD(RealPoint, h, 0);
HOST_RECORD_FIELD(RealPoint, v, 4);

static_assert(sizeof(PathSegment) == 28);
HOST_RECORD_FIELD(PathSegment, p, 0);
HOST_RECORD_FIELD(PathSegment, in, 8);
HOST_RECORD_FIELD(PathSegment, out, 16);
HOST_RECORD_FIELD(PathSegment, corner, 24);

static_assert(sizeof(PathStyle) == 56);
HOST_RECORD_FIELD(PathStyle, fillPaint, 0);
HOST_RECORD_FIELD(PathStyle, strokePaint, 4);
HOST_RECORD_FIELD(PathStyle, fillColorKind, 8);
HOST_RECORD_FIELD(PathStyle, fillColor, 12);
HOST_RECORD_FIELD(PathStyle, fillOverprint, 28);
HOST_RECORD_FIELD(PathStyle, strokeColorKind, 32);
HOST_RECORD_FIELD(PathStyle, strokeColor, 36);
HOST_RECORD_FIELD(PathStyle, strokeWidth, 52);

static_assert(sizeof(MatchingArtSpec) == 12);
HOST_RECORD_FIELD(MatchingArtSpec, type, 0);
HOST_RECORD_FIELD(MatchingArtSpec, whichAttr, 4);
HOST_RECORD_FIELD(MatchingArtSpec, attr, 8);

static_assert(sizeof(PlatformFilterData) == 8);
HOST_RECORD_FIELD(PlatformFilterData, category, 0);
HOST_RECORD_FIELD(PlatformFilterData, title, 4);

static_assert(sizeof(PlatformAddMenuItemData) == 8);
HOST_RECORD_FIELD(PlatformAddMenuItemData, groupName, 0);
HOST_RECORD_FIELD(PlatformAddMenuItemData, itemText, 4);

static_assert(sizeof(HostByteBuffer) == 8);
HOST_RECORD_FIELD(HostByteBuffer, reserved, 0);
HOST_RECORD_FIELD(HostByteBuffer, block, 4);
#endif
