// Locks between threads.
#pragma once

#include "classlib/rtl/WinApi.h"

// A critical section: one thread at a time between Enter and Leave; the same thread may enter
// again. Hold it with TLock where a scope ends the hold.
class TCriticalSection {
public:
    TCriticalSection() { InitializeCriticalSection(&FSection); }
    ~TCriticalSection() { DeleteCriticalSection(&FSection); }
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&FSection); }
    void Leave() { LeaveCriticalSection(&FSection); }

    class TLock {
    public:
        explicit TLock(TCriticalSection& Section) : FSection(Section) { FSection.Enter(); }
        ~TLock() { FSection.Leave(); }
        TLock(const TLock&) = delete;
        TLock& operator=(const TLock&) = delete;

    private:
        TCriticalSection& FSection;
    };

private:
    CRITICAL_SECTION FSection;
};
