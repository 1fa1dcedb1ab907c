#include "GuiTestSupport.h"

#include "classlib/gui/ExtCtrls.h"

#include <memory>

namespace {

// Handles messages for Milliseconds, whatever comes.
void PumpFor(TApplication& App, int Milliseconds) {
    const ULONGLONG End = GetTickCount64() + static_cast<ULONGLONG>(Milliseconds);
    while (GetTickCount64() < End) {
        App.ProcessMessages();
        Sleep(5);
    }
}

} // namespace

TEST_F(GuiTest, ATimerWithoutOwnerTicksWhileEnabled) {
    TTimer Timer(nullptr);
    EXPECT_TRUE(Timer.Enabled());
    EXPECT_EQ(Timer.Interval(), 1000u);
    int Ticks = 0;
    Timer.OnTimer = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Timer);
        ++Ticks;
    };
    Timer.SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return Ticks >= 3; }));

    Timer.SetEnabled(false);
    const int Stopped = Ticks;
    PumpFor(*App, 60);
    EXPECT_EQ(Ticks, Stopped);

    Timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return Ticks > Stopped; }));

    Timer.SetInterval(0); // stops as disabling would, and keeps Enabled
    EXPECT_TRUE(Timer.Enabled());
    const int AtZero = Ticks;
    PumpFor(*App, 60);
    EXPECT_EQ(Ticks, AtZero);
}

TEST_F(GuiTest, ChangingTheIntervalStartsTheCountAgain) {
    TTimer Timer(nullptr);
    Timer.SetInterval(5000);
    int Ticks = 0;
    Timer.OnTimer = [&](TObject*) { ++Ticks; };
    PumpFor(*App, 30);
    EXPECT_EQ(Ticks, 0);
    Timer.SetInterval(10); // re-armed at once, not after the 5 s already running
    EXPECT_TRUE(PumpUntil([&] { return Ticks >= 1; }));
}

TEST_F(GuiTest, ATimerDeletedInItsOwnTickIsHarmless) {
    auto* Timer = new TTimer(nullptr);
    int Ticks = 0;
    Timer->OnTimer = [&, Captured = std::make_shared<int>(7)](TObject* Sender) {
        ++Ticks;
        delete static_cast<TTimer*>(Sender);
        EXPECT_EQ(*Captured, 7); // the handler's own state outlives the timer's deletion
    };
    Timer->SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return Ticks >= 1; }));
    PumpFor(*App, 60);
    EXPECT_EQ(Ticks, 1);
}

TEST_F(GuiTest, ATimerOwnedByAComponentGoesWithIt) {
    auto Owner = std::make_unique<TComponent>(nullptr);
    auto* Timer = new TTimer(Owner.get());
    int Ticks = 0;
    Timer->OnTimer = [&](TObject*) { ++Ticks; };
    Timer->SetInterval(10);
    Owner.reset();
    PumpFor(*App, 60);
    EXPECT_EQ(Ticks, 0);
}

TEST_F(GuiTest, AnExceptionFromATickGoesToTheApplication) {
    String Reported;
    App->OnException = [&](TObject*, const Exception& E) { Reported = E.Message(); };
    TTimer Timer(nullptr);
    Timer.OnTimer = [&](TObject* Sender) {
        static_cast<TTimer*>(Sender)->SetEnabled(false);
        throw Exception(L"tick failed");
    };
    Timer.SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return !Reported.empty(); }));
    EXPECT_EQ(Reported, L"tick failed");
}
