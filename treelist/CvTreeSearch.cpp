#include "treelist/CvTreeSearch.h"

#include "classlib/rtl/SysUtils.h"
#include "treelist/CvTree.h"

#include <memory>

TSearchTextTimeoutThread::TSearchTextTimeoutThread()
    : FWake(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!FWake)
        RaiseLastOSError();
}

TSearchTextTimeoutThread::~TSearchTextTimeoutThread() {
    Stop();
    WaitFor();
    CloseHandle(FWake);
}

bool TSearchTextTimeoutThread::SetKeepAlive(bool Value) {
    const TCriticalSection::TLock Lock(FLock);
    if (FEnding)
        return false;
    FKeepAlive = Value;
    return true;
}

bool TSearchTextTimeoutThread::GetKeepAlive() {
    const TCriticalSection::TLock Lock(FLock);
    return FKeepAlive;
}

void TSearchTextTimeoutThread::Stop() {
    Terminate();
    SetEvent(FWake);
}

void TSearchTextTimeoutThread::Execute() {
    while (!Terminated()) {
        WaitForSingleObject(FWake, static_cast<DWORD>(Timeout.load()));
        const TCriticalSection::TLock Lock(FLock);
        if (!FKeepAlive || Terminated())
            break;
        FKeepAlive = false;
    }
    const TCriticalSection::TLock Lock(FLock);
    FEnding = true;
}

bool SearchPrefixMatches(const std::wstring& Text, const std::string& Prefix) {
    if (Prefix.empty())
        return false;
    // Taking as many characters as the prefix has bytes covers it in any code page.
    std::string Head = ToAnsi(std::wstring_view(Text).substr(0, Prefix.size()));
    if (Head.size() > Prefix.size())
        Head.resize(Prefix.size());
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Head.data(),
                          static_cast<int>(Head.size()), Prefix.data(),
                          static_cast<int>(Prefix.size())) == CSTR_EQUAL;
}

void TCvTreeSearch::ProcessSearchKey(wchar_t Key) {
    if (Key == 27) {
        FSearchText.clear();
        if (FTree.MultiSelect())
            FTree.DeselectAll();
        FTree.DoAfterSelectionChange();
        return;
    }
    if (Key == 8) {
        if (FSearchText.empty())
            return;
        FSearchText.pop_back();
    } else if (Key <= 32) {
        return;
    } else {
        FSearchText += ToAnsi(std::wstring_view(&Key, 1));
    }
    if (FSearchText.empty())
        return;
    if (TCvTreeItem* Match = FindMatch())
        FocusMatch(*Match);
    RestartSearchTimeout();
}

TCvTreeItem* TCvTreeSearch::FindMatch() const {
    const TCvTreeItems& Items = FTree.Items();
    for (int I = 0; I < Items.TotalCount(); ++I) {
        TCvTreeItem* Item = Items.ItemAtIndex(I);
        if (SearchPrefixMatches(Item->GetItemText(), FSearchText))
            return Item;
    }
    return nullptr;
}

void TCvTreeSearch::FocusMatch(TCvTreeItem& Item) {
    const TCvItemHold Held(FTree, &Item);
    FTree.EnsureVisible(&Item);
    if (Held)
        FTree.SetFocusedItem(&Item);
    if (Held && FTree.MultiSelect())
        Item.SetSelected(false);
    FTree.DoAfterSelectionChange();
}

void TCvTreeSearch::RestartSearchTimeout() {
    if (FThread) {
        FThread->Timeout = FTree.IncrementalSearchTimeout;
        if (FThread->SetKeepAlive(true))
            return;
        // The worker is ending: its end must not clear the text just typed.
        FThread->OnTerminate = nullptr;
        FThread = nullptr;
    }
    auto Thread = std::make_unique<TSearchTextTimeoutThread>();
    Thread->Timeout = FTree.IncrementalSearchTimeout;
    Thread->OnTerminate = [this](TObject* Sender) { SearchThreadDone(Sender); };
    Thread->FreeOnTerminate = true;
    Thread->Start();
    FThread = Thread.release();
}

void TCvTreeSearch::SearchThreadDone(TObject* /*Sender*/) {
    FThread = nullptr;
    FSearchText.clear();
}

void TCvTreeSearch::StopSearchThread() {
    if (!FThread)
        return;
    FThread->OnTerminate = nullptr;
    FThread->Stop();
    FThread = nullptr;
}
