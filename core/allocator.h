#pragma once

namespace sol {

// Every command reads and rewrites data files of megabytes whole, in
// buffers that are freed again when it ends. The C library would give each
// of them fresh pages from the system and return them on free, so that every
// command pays again for faulting in the same memory page by page. Called
// once at the start of the program: large buffers are then taken from the
// heap and freed memory kept there for the next command.
void KeepLargeBuffersInHeap();

}  // namespace sol
