#pragma once

// Gives the heap memory the program has freed back to the system. The decoded picture
// itself comes and goes in blocks of its own, but decoding leaves freed heap behind
// that the allocator would keep for a next use which, hidden in the tray, comes only
// hours later, if ever.
void releaseFreedMemory();
