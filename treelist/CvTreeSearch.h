// Incremental search of a tree-list: the typed text, the walk for the first item that begins with
// it, and the worker thread that forgets the text after a pause without keys.
#pragma once

#include "classlib/gui/Threads.h"
#include "classlib/rtl/SyncObjs.h"

#include <atomic>
#include <string>

class TCustomCvTree;
class TCvTreeItem;

// Sleeps Timeout milliseconds, again while a key came meanwhile (KeepAlive), then ends. It never
// touches a window; the window thread hears of its end through OnTerminate.
class TSearchTextTimeoutThread : public TThread {
public:
    TSearchTextTimeoutThread();
    ~TSearchTextTimeoutThread() override;

    // False when the worker has already decided to end: that wait can no longer be extended.
    bool SetKeepAlive(bool Value);
    bool GetKeepAlive();
    // Ends the current sleep at once and the thread with it.
    void Stop();

    std::atomic<int> Timeout{0};

protected:
    void Execute() override;

private:
    TCriticalSection FLock;
    bool FKeepAlive = false;
    bool FEnding = false;
    HANDLE FWake;
};

// The view's search state. The typed text is 8-bit (the system code page), compared without
// case by the locale.
class TCvTreeSearch {
public:
    explicit TCvTreeSearch(TCustomCvTree& Tree) : FTree(Tree) {}
    ~TCvTreeSearch() { StopSearchThread(); }
    TCvTreeSearch(const TCvTreeSearch&) = delete;
    TCvTreeSearch& operator=(const TCvTreeSearch&) = delete;

    void ProcessSearchKey(wchar_t Key);
    const std::string& SearchText() const { return FSearchText; }
    bool Waiting() const { return FThread != nullptr; }

private:
    TCvTreeItem* FindMatch() const;
    void FocusMatch(TCvTreeItem& Item);
    void RestartSearchTimeout();
    void SearchThreadDone(TObject* Sender);
    void StopSearchThread();

    TCustomCvTree& FTree;
    std::string FSearchText;
    // Frees itself when it has ended; null once it is done or let go.
    TSearchTextTimeoutThread* FThread = nullptr;
};

// The item text's first characters match Prefix (8-bit), without case, by the locale.
bool SearchPrefixMatches(const std::wstring& Text, const std::string& Prefix);
