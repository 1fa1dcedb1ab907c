#pragma once
// A progress sink for tests: keeps every label and position, and presses Cancel on request.

#include "app/Progress.h"

#include <cstdint>
#include <functional>
#include <vector>

class TFakeProgress : public IProgress {
public:
    std::vector<String> Labels;
    std::vector<std::int64_t> Positions;
    std::int64_t Max = 0;
    bool CancelVisible = false;
    bool Running = false;
    int Starts = 0;
    int Pumps = 0;
    // Cancel is pressed at this pump of the current operation (1 = the first); 0 never.
    int CancelAtPump = 0;
    // Called at every pump, for tests that act while the operation runs.
    std::function<void()> OnPump;

    void Start(const String& Label, std::int64_t NewMax, bool CanCancel,
               TProgressAnimation) override {
        ++Starts;
        Running = true;
        FCancelled = false;
        FPumpsThisRun = 0;
        Labels.push_back(Label);
        Max = NewMax;
        CancelVisible = CanCancel;
        Positions.push_back(0);
    }
    void SetLabel(const String& Text) override { Labels.push_back(Text); }
    void SetRange(std::int64_t NewMax) override { Max = NewMax; }
    void SetPosition(std::int64_t Position) override { Positions.push_back(Position); }
    void SetCancelVisible(bool Visible) override { CancelVisible = Visible; }
    bool Cancelled() const override { return FCancelled; }
    void Pump() override {
        ++Pumps;
        if (CancelAtPump > 0 && ++FPumpsThisRun == CancelAtPump)
            FCancelled = true;
        if (OnPump)
            OnPump();
    }
    void Finish() override { Running = false; }
    void PressCancel() { FCancelled = true; }

private:
    bool FCancelled = false;
    int FPumpsThisRun = 0;
};
