// What the process holds, for leak tests. Wine answers 0 from GetProcessHandleCount and
// GetGuiResources, so both are counted from the tables themselves.
#pragma once

// Entries of this process in the system handle table.
int CountOwnHandles();
// GDI objects of this process in the GDI handle table.
int CountGdiObjects();
