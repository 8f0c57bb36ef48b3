#include "hoststring/HostBlock.h"

#include "runtime/PluginGlobals.h"

void FreeHostBlock(void* block) {
    if (block != nullptr) sBlocks->FreeBlock(block);
}
