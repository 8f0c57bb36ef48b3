// Blocks of host memory the host hands to the plug-in.
#pragma once

// Frees a block through the blocks suite; a null pointer is ignored. The
// host's answer is not examined: freeing never fails on our side.
void FreeHostBlock(void* block);
