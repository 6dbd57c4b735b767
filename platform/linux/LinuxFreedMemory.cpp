#include "platform/FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void releaseFreedMemory()
{
#if defined(__GLIBC__)
    // glibc returns freed heap only from the top of each arena and by itself only past a
    // threshold; the decoder's buffers, freed in the middle, would stay resident.
    malloc_trim(0);
#endif
}
