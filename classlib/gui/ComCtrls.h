// Common controls: the month calendar and the busy animation.
#pragma once

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/StdCtrls.h"

// The system's month calendar. Date is the selected day (the time of day is dropped); it follows
// the user's choice and survives a new window. WeekNumbers shows the week numbers beside the days.
class TMonthCalendar : public TSystemControl {
public:
    explicit TMonthCalendar(TComponent* AOwner);

    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime Value);
    bool WeekNumbers() const { return FWeekNumbers; }
    void SetWeekNumbers(bool Value);

    TNotifyEvent OnClick;

protected:
    void CreateParams(TCreateParams& Params) const override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;

private:
    TDateTime FDate;
    bool FWeekNumbers = false;
};

// The standard clips a busy window shows. The animation here is drawn by the control itself (the
// system's clips need not be there): for a copy a sheet flies from folder to folder, for a delete
// from a folder into the bin, for the others a bright block moves along a strip.
enum TCommonAVI {
    aviNone,
    aviFindFolder,
    aviFindFile,
    aviFindComputer,
    aviCopyFiles,
    aviCopyFile,
    aviRecycleFile,
    aviEmptyRecycle,
    aviDeleteFile
};

class TAnimate : public TGraphicControl {
public:
    explicit TAnimate(TComponent* AOwner);

    // Runs the animation while true.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TCommonAVI CommonAVI() const { return FCommonAVI; }
    void SetCommonAVI(TCommonAVI Value);
    // The picture shown now, counting from 0.
    int Frame() const { return FFrame; }
    static constexpr int FrameCount = 8;

protected:
    void Paint() override;

private:
    void Step();

    TTimer FTimer;
    bool FActive = false;
    TCommonAVI FCommonAVI = aviNone;
    int FFrame = 0;
};
