// Watching the plug-in while it handles a message: a module that crashes or
// never returns must not end the tool silently or keep it forever.
#pragma once

#include "hostinterface/HostInterface.h"

namespace cli {

// An entry point that calls entry and watches each call. When the plug-in
// crashes (a signal such as SIGSEGV or SIGABRT; on Windows an unhandled
// exception such as EXCEPTION_ACCESS_VIOLATION), or one message runs longer
// than timeoutSeconds (0: no limit), the process ends with exit status 1
// after one line on stderr, such as
//   pelvaro run: the plug-in crashed (SIGSEGV) while handling "SP Interface"/"Startup"
// One plug-in is watched per process: a later call replaces the earlier one.
PluginMainProc WatchedEntry(PluginMainProc entry, const char* command, unsigned timeoutSeconds);

}  // namespace cli
