// The headless host's own error codes. The plug-in receives them like any
// other host code; tests and the CLI compare against these names.
#pragma once

#include <string>

#include "hostinterface/HostInterface.h"

namespace headless {

constexpr HostErr kBadParameterErr = FourCharCode('P', 'A', 'R', 'M');   // null output, bad size
constexpr HostErr kUnknownSuiteErr = FourCharCode('S', 'U', 'I', 'T');   // no suite of that name
constexpr HostErr kSuiteVersionErr = FourCharCode('S', 'V', 'E', 'R');   // suite known, version not
constexpr HostErr kSuiteNotHeldErr = FourCharCode('S', 'H', 'L', 'D');   // release without acquire
constexpr HostErr kBadBlockErr = FourCharCode('B', 'B', 'L', 'K');       // not a live block
constexpr HostErr kBadHandleErr = FourCharCode('B', 'H', 'D', 'L');      // not a live handle
constexpr HostErr kBadArtErr = FourCharCode('B', 'A', 'R', 'T');         // not an art object
constexpr HostErr kBadDictionaryErr = FourCharCode('B', 'D', 'C', 'T');  // not a live dictionary
constexpr HostErr kBadArrayErr = FourCharCode('B', 'A', 'R', 'Y');       // not a live array
constexpr HostErr kBadKeyErr = FourCharCode('B', 'K', 'E', 'Y');         // not a dictionary key
constexpr HostErr kNotOwnerErr = FourCharCode('O', 'W', 'N', 'R');       // caller does not own it
constexpr HostErr kRangeErr = FourCharCode('R', 'A', 'N', 'G');          // index or count outside
constexpr HostErr kWrongKindErr = FourCharCode('K', 'I', 'N', 'D');      // entry of another kind
constexpr HostErr kNoEntryErr = FourCharCode('N', 'E', 'N', 'T');        // no entry under the key
constexpr HostErr kNotPathErr = FourCharCode('N', 'P', 'T', 'H');        // art is not a path
constexpr HostErr kBadStringErr = FourCharCode('B', 'S', 'T', 'R');      // not a live string
constexpr HostErr kBadEncodingErr = FourCharCode('B', 'E', 'N', 'C');    // unknown encoding code
constexpr HostErr kBadTextErr = FourCharCode('B', 'T', 'X', 'T');        // bytes do not decode
constexpr HostErr kUnencodableErr = FourCharCode('N', 'E', 'N', 'C');    // character not encodable
constexpr HostErr kBadPluginErr = FourCharCode('B', 'P', 'L', 'G');      // not this plug-in's ref
constexpr HostErr kBadMenuItemErr = FourCharCode('B', 'M', 'N', 'U');    // not a menu item
constexpr HostErr kBadMenuGroupErr = FourCharCode('B', 'G', 'R', 'P');   // not a menu group
constexpr HostErr kNoMenuGroupErr = FourCharCode('N', 'G', 'R', 'P');    // no group of that name
constexpr HostErr kDuplicateGroupErr = FourCharCode('D', 'G', 'R', 'P');  // group name taken
constexpr HostErr kHasSubMenuErr = FourCharCode('S', 'U', 'B', 'M');      // item has a submenu
constexpr HostErr kBadFilterErr = FourCharCode('B', 'F', 'L', 'T');       // not a filter
constexpr HostErr kNotImplementedErr = FourCharCode('N', 'I', 'M', 'P');  // not implemented here
constexpr HostErr kNoCurrentHostErr = FourCharCode('N', 'H', 'S', 'T');  // called outside a message
constexpr HostErr kHostInternalErr = FourCharCode('H', 'I', 'N', 'T');   // the host itself failed

// "'PARM' (bad parameter)", "0 (no error)", "0x00000007" for codes without
// a printable form.
std::string DescribeHostErr(HostErr code);

}  // namespace headless
