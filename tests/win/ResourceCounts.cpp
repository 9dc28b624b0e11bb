#include "ResourceCounts.h"

#include <windows.h>
#include <winternl.h>

#include <vector>

namespace {

struct HandleEntryEx {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT backTrace;
    USHORT typeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct HandleInformationEx {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntryEx handles[1];
};
const ULONG kSystemExtendedHandleInformation = 64;
const NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

// One entry of the GDI handle table the process environment block points to (x64 layout).
struct GdiHandleEntry {
    UINT64 object;
    USHORT processId;
    USHORT count;
    UCHAR type;
    UCHAR flags;
    UCHAR extType;
    UCHAR generation;
    UINT64 user;
};
const int kGdiTableEntries = 0x10000;
const size_t kPebGdiTableOffset = 0xF8;

}  // namespace

int CountOwnHandles() {
    using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    ULONG length = 0;
    NTSTATUS status;
    while ((status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                           &length)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return -1;
    auto* info = reinterpret_cast<HandleInformationEx*>(buffer.data());
    int own = 0;
    for (ULONG_PTR i = 0; i < info->count; ++i)
        own += info->handles[i].processId == ::GetCurrentProcessId();
    return own;
}

const BYTE* ProcessBlock() {
    // gs:[0x60] on x64, read without the header's NtCurrentTeb, which the compiler takes for a
    // read past an array.
    const BYTE* peb = nullptr;
    __asm__("movq %%gs:0x60, %0" : "=r"(peb));
    return peb;
}

int CountGdiObjects() {
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
    const BYTE* peb = ProcessBlock();
    auto* table = *reinterpret_cast<GdiHandleEntry* const*>(peb + kPebGdiTableOffset);
    if (!table) return -1;
    // Wine's table belongs to the process alone. A freed entry keeps its type and links the
    // free list through its object field; only its extended type is cleared.
    int own = 0;
    for (int i = 0; i < kGdiTableEntries; ++i) own += table[i].extType != 0;
    return own;
}

int CountHeapBlocks(size_t size) {
    HANDLE heap = ::GetProcessHeap();
    int count = 0;
    ::HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heap, &entry))
        count += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && entry.cbData == size;
    ::HeapUnlock(heap);
    return count;
}
