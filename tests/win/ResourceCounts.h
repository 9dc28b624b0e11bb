// What the process holds, for leak tests. Wine answers 0 from GetProcessHandleCount and
// GetGuiResources, so both are counted from the tables themselves.
#pragma once
#include <cstddef>

// Entries of this process in the system handle table.
int CountOwnHandles();
// GDI objects of this process in the GDI handle table.
int CountGdiObjects();
// The process environment block of this process.
const unsigned char* ProcessBlock();
// Blocks of exactly this size in use in the process heap, where GlobalAlloc takes its blocks.
int CountHeapBlocks(size_t size);
