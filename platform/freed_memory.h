#pragma once
// Some movies build hundreds of megabytes of objects while they play. The C library keeps what
// they free for later allocations, so without a nudge an evening of playback holds the peak of
// the hungriest movie it met.

namespace rv {

// Returns the free memory the C library holds to the system (where the library can).
void releaseFreedMemory();

}  // namespace rv
