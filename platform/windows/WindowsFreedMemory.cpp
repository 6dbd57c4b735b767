#include "platform/FreedMemory.h"

void releaseFreedMemory()
{
    // The Windows heap decommits freed large blocks by itself; nothing to ask for.
}
