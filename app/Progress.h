#pragma once
// The progress sink of long operations on the window thread: the programs show it as the
// progress or please-wait window, tests pass a fake. No window here.

#include "classlib/rtl/SysUtils.h"

#include <cstdint>

// The indicator a progress window runs beside its bar.
enum class TProgressAnimation { None, CopyFiles, DeleteFile, RecycleFile };

// The title and first line of the busy windows: the language's "sPleaseWait".
String PleaseWaitText();

class IProgress {
public:
    virtual ~IProgress() = default;

    // Begins one operation: shows Label, the range 0..Max (0: the work is not counted) at
    // position 0 and the Cancel button only when CanCancel; clears Cancelled, so a Cancel of an
    // earlier operation never stops this one.
    virtual void Start(const String& Label, std::int64_t Max, bool CanCancel,
                       TProgressAnimation Animation = TProgressAnimation::None) = 0;
    virtual void SetLabel(const String& Text) = 0;
    // A new maximum; the position is kept.
    virtual void SetRange(std::int64_t Max) = 0;
    virtual void SetPosition(std::int64_t Position) = 0;
    virtual void SetCancelVisible(bool Visible) = 0;
    // The user pressed Cancel since Start.
    virtual bool Cancelled() const = 0;
    // Processes pending messages, so that the window repaints and Cancel can be pressed. Loops
    // call it per item: the windows' sinks pump at most every ~15 ms of work.
    virtual void Pump() = 0;
    // Ends the operation and hides the window.
    virtual void Finish() = 0;
};

// Starts an operation on a sink and finishes it when the scope ends, also on an exception.
class TProgressScope {
public:
    TProgressScope(IProgress& Progress, const String& Label, std::int64_t Max, bool CanCancel,
                   TProgressAnimation Animation = TProgressAnimation::None)
        : FProgress(Progress) {
        FProgress.Start(Label, Max, CanCancel, Animation);
    }
    ~TProgressScope() { FProgress.Finish(); }
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;

private:
    IProgress& FProgress;
};

// A progress sink without a window: Pump processes the window thread's pending messages. It
// stands in where no progress window is shown or none was given.
class TWindowPumpProgress : public IProgress {
public:
    void Start(const String&, std::int64_t, bool, TProgressAnimation) override {}
    void SetLabel(const String&) override {}
    void SetRange(std::int64_t) override {}
    void SetPosition(std::int64_t) override {}
    void SetCancelVisible(bool) override {}
    bool Cancelled() const override { return false; }
    void Pump() override;
    void Finish() override {}
};
