// The tree-list tests run over a heap that fills freed memory with a pattern and keeps it out of
// reuse for a while: a read of a freed row then fails loudly, where a plain heap would quietly
// hand it a new row's memory. A block freed twice stops the program where it happens.
#include <malloc.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t QuarantineSize = 4096;
constexpr unsigned char FreedByte = 0xDD;

// A lock without a destructor: memory is freed until the very end of the program.
SRWLOCK QuarantineLock = SRWLOCK_INIT;
void* Quarantine[QuarantineSize];
std::size_t QuarantineNext = 0;

void* Allocate(std::size_t Size) {
    if (void* P = std::malloc(Size ? Size : 1))
        return P;
    throw std::bad_alloc();
}

void Release(void* P) noexcept {
    if (!P)
        return;
    AcquireSRWLockExclusive(&QuarantineLock);
    for (void* Held : Quarantine)
        if (Held == P)
            __builtin_trap();
    std::memset(P, FreedByte, _msize(P));
    void* const Oldest = Quarantine[QuarantineNext];
    Quarantine[QuarantineNext] = P;
    QuarantineNext = (QuarantineNext + 1) % QuarantineSize;
    ReleaseSRWLockExclusive(&QuarantineLock);
    std::free(Oldest);
}

} // namespace

void* operator new(std::size_t Size) {
    return Allocate(Size);
}
void* operator new[](std::size_t Size) {
    return Allocate(Size);
}
void operator delete(void* P) noexcept {
    Release(P);
}
void operator delete[](void* P) noexcept {
    Release(P);
}
void operator delete(void* P, std::size_t) noexcept {
    Release(P);
}
void operator delete[](void* P, std::size_t) noexcept {
    Release(P);
}
