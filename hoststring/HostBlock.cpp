#include "hoststring/HostBlock.h"

#include "plugin/PluginGlobals.h"

void FreeHostBlock(void* block) {
    if (block != nullptr) sBlocks->FreeBlock(block);
}
