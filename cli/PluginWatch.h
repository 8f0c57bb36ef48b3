// Watching the plug-in while it handles a message: a module that crashes or
// never returns must not end the tool silently or keep it forever.
#pragma once

#include "plugin/HostInterface.h"

namespace cli {

// An entry point that calls entry and watches each call. When the plug-in
// crashes (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT), or one message runs
// longer than timeoutSeconds (0: no limit), the process ends with exit status
// 1 after one line on stderr, such as
//   pelvaro run: the plug-in crashed (SIGSEGV) while handling "SP Interface"/"Startup"
// One plug-in is watched per process: a later call replaces the earlier one.
// On Windows the watch is not kept (see PluginWatch.cpp) and entry is returned.
PluginMainProc WatchedEntry(PluginMainProc entry, const char* command, unsigned timeoutSeconds);

}  // namespace cli
