// The module's one translation unit of its own: it pulls PluginMain, and
// through it the whole plug-in, out of the core archive.
#include "plugin/PluginMain.h"

namespace {
[[maybe_unused]] const PluginMainProc kEntry = &PluginMain;
}
