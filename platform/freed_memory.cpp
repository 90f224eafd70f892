#include "platform/freed_memory.h"

#include <malloc.h>

namespace rv {

void releaseFreedMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

}  // namespace rv
