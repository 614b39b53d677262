#pragma once

// The C library's allocator gives freed memory back to the system as soon as a few hundred
// kilobytes lie free at the top of the heap, and serves blocks from 128 KB up by mapping
// fresh pages. Each plot table of a full acquisition (a histogram's rows are two arrays of
// about 200 KB) then costs a round of page faults every time it is built: on a virtual
// machine about eight times the work of building it. keepFreedMemory() makes the allocator
// keep up to 64 MB of freed memory for the next request and take blocks up to 32 MB from the
// heap. Called first thing by the program, the command line and the benchmarks.
namespace FreedMemory {
void keepFreedMemory();
}
