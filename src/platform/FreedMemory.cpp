#include "FreedMemory.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace FreedMemory {

void keepFreedMemory()
{
#if defined(M_TRIM_THRESHOLD) && defined(M_MMAP_THRESHOLD) // the GNU C library
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

} // namespace FreedMemory
