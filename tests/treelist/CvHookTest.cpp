#include "treelist/CvHook.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_USER + 1;
constexpr UINT WM_SELF_DELETE = WM_USER + 2;

using TLog = std::vector<std::string>;

// A windowless control that logs what reaches its own handling; WM_SELF_DELETE makes it free
// itself, as a control closed by its own message does.
class TProbeControl : public TControl {
public:
    TProbeControl(TLog& Log, std::unique_ptr<TProbeControl>* Holder = nullptr)
        : TControl(nullptr), FLog(Log), FHolder(Holder) {}

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_PROBE) {
            FLog.push_back("own");
            Message.Result = 7;
            return;
        }
        if (Message.Msg == WM_SELF_DELETE && FHolder) {
            FLog.push_back("own");
            FHolder->reset();
            return;
        }
        TControl::WndProc(Message);
    }

private:
    TLog& FLog;
    std::unique_ptr<TProbeControl>* FHolder;
};

// A hook that logs its calls as B<name> and A<name>; HandleBefore / HandleAfter set Handled.
struct TLoggingHook {
    std::unique_ptr<TCvHook> Hook = std::make_unique<TCvHook>(nullptr);
    bool HandleBefore = false;
    bool HandleAfter = false;

    TLoggingHook(TLog& Log, const std::string& Name) {
        Hook->OnBeforeProcess = [this, &Log, Name](TObject*, TMessage& Msg, bool& Handled) {
            if (Msg.Msg != WM_PROBE && Msg.Msg != WM_SELF_DELETE)
                return;
            Log.push_back("B" + Name);
            if (HandleBefore) {
                Msg.Result = 99;
                Handled = true;
            }
        };
        Hook->OnAfterProcess = [this, &Log, Name](TObject*, TMessage& Msg, bool& Handled) {
            if (Msg.Msg != WM_PROBE && Msg.Msg != WM_SELF_DELETE)
                return;
            Log.push_back("A" + Name);
            Handled = HandleAfter;
        };
    }
    void On(TControl* Control) {
        Hook->SetControl(Control);
        Hook->SetActive(true);
    }
};

} // namespace

TEST(CvHook, LastAttachedRunsFirstAndCanStopTheMessage) {
    struct TCase {
        bool SecondHandlesBefore;
        bool SecondHandlesAfter;
        TLog Expected;
        LRESULT Result;
    };
    const TCase Cases[] = {
        {false, false, {"B2", "B1", "own", "A2", "A1"}, 7},
        // Handled before: the first hook and the control's own handling are skipped.
        {true, false, {"B2", "A2", "A1"}, 99},
        // Handled after: the earlier hook's after-handler is skipped.
        {false, true, {"B2", "B1", "own", "A2"}, 7},
    };
    for (const TCase& Case : Cases) {
        TLog Log;
        TProbeControl Control(Log);
        TLoggingHook First(Log, "1"), Second(Log, "2");
        First.On(&Control);
        Second.On(&Control);
        Second.HandleBefore = Case.SecondHandlesBefore;
        Second.HandleAfter = Case.SecondHandlesAfter;

        EXPECT_EQ(Control.Perform(WM_PROBE), Case.Result);
        EXPECT_EQ(Log, Case.Expected);
        ASSERT_NE(GlobalHookList(), nullptr);
        TCtlHook* Shared = GlobalHookList()->FindHook(&Control);
        ASSERT_NE(Shared, nullptr);
        EXPECT_EQ(Shared->HookCount(), 2);
    }
}

TEST(CvHook, LastDetachRestoresTheControlAndTheSlotIsReused) {
    TLog Log;
    TProbeControl Control(Log);
    // A replacement made before the hooks must come back after them.
    const TWndMethod Own = Control.WindowProc;
    Control.WindowProc = [&Log, Own](TMessage& Message) {
        if (Message.Msg == WM_PROBE)
            Log.push_back("before-hooks");
        Own(Message);
    };
    TLoggingHook First(Log, "1"), Second(Log, "2");
    First.On(&Control);
    Second.On(&Control);
    TCtlHook* Shared = GlobalHookList()->FindHook(&Control);
    ASSERT_NE(Shared, nullptr);
    const int Lists = GlobalHookList()->Count();

    Second.Hook->SetActive(false);
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, (TLog{"B1", "before-hooks", "own", "A1"}));
    EXPECT_TRUE(Shared->Hooked());

    Log.clear();
    First.Hook->SetActive(false);
    EXPECT_FALSE(Shared->Hooked());
    EXPECT_EQ(Control.Perform(WM_PROBE), 7);
    EXPECT_EQ(Log, (TLog{"before-hooks", "own"}));

    Log.clear();
    Second.Hook->SetActive(true);
    EXPECT_EQ(GlobalHookList()->FindHook(&Control), Shared);
    EXPECT_EQ(GlobalHookList()->Count(), Lists);
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, (TLog{"B2", "before-hooks", "own", "A2"}));

    // A hook freed while attached detaches itself.
    Log.clear();
    Second.Hook.reset();
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, (TLog{"before-hooks", "own"}));
}

TEST(CvHook, ActiveWithoutControlOrAtDesignTimeOnlySetsTheFlag) {
    TLog Log;
    TProbeControl Control(Log);
    TLoggingHook Hook(Log, "1");
    Hook.Hook->SetActive(true);
    EXPECT_TRUE(Hook.Hook->Active());
    Hook.Hook->SetControl(&Control); // attaches now
    EXPECT_TRUE(Hook.Hook->Active());
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, (TLog{"B1", "own", "A1"}));
    Hook.Hook->SetControl(nullptr);
    EXPECT_FALSE(Hook.Hook->Active());

    Log.clear();
    TComponent Form(nullptr);
    Form.SetDesigning(true);
    TCvHook Designed(&Form);
    Designed.OnBeforeProcess = [&Log](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == WM_PROBE)
            Log.push_back("designed");
    };
    Designed.SetControl(&Control);
    Designed.SetActive(true);
    EXPECT_TRUE(Designed.Active());
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, TLog{"own"});
    Designed.SetDesignActive(true);
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, (TLog{"own", "designed", "own"}));
    Designed.SetDesignActive(false);
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, (TLog{"own", "designed", "own", "own"}));
}

TEST(CvHook, ControlDestroyedWhileHooked) {
    TLog Log;
    TLoggingHook First(Log, "1"), Second(Log, "2");
    {
        TProbeControl Control(Log);
        First.On(&Control);
        Second.On(&Control);
    }
    for (TLoggingHook* H : {&First, &Second}) {
        EXPECT_EQ(H->Hook->Control(), nullptr);
        EXPECT_FALSE(H->Hook->Active());
    }

    // Freed by its own message: the hooks hear of it and no after-handler runs on a dead control.
    auto Holder = std::make_unique<std::unique_ptr<TProbeControl>>();
    *Holder = std::make_unique<TProbeControl>(Log, Holder.get());
    TProbeControl* Control = Holder->get();
    First.On(Control);
    Second.On(Control);
    Log.clear();
    Control->Perform(WM_SELF_DELETE);
    EXPECT_EQ(*Holder, nullptr);
    EXPECT_EQ(Log, (TLog{"B2", "B1", "own"}));
    EXPECT_EQ(First.Hook->Control(), nullptr);
    EXPECT_EQ(GlobalHookList()->FindHook(Control), nullptr);

    // A new control (maybe at the same address) starts clean.
    TProbeControl Next(Log);
    First.On(&Next);
    Log.clear();
    Next.Perform(WM_PROBE);
    EXPECT_EQ(Log, (TLog{"B1", "own", "A1"}));
}

TEST(CvHook, ListFreedAtProgramEndRestoresControls) {
    TLog Log;
    TProbeControl Control(Log);
    TLoggingHook Hook(Log, "1");
    Hook.On(&Control);
    ASSERT_NE(GlobalHookList(), nullptr);
    EXPECT_EQ(SendMessageW(GlobalHookList()->Handle(), WM_QUERYENDSESSION, 0, 0), 1);

    FreeGlobalHookList();
    EXPECT_EQ(GlobalHookList(), nullptr);
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, TLog{"own"});
    Hook.Hook->SetActive(false); // no list: nothing to detach from
    Hook.Hook->SetActive(true);  // a new list
    Control.Perform(WM_PROBE);
    EXPECT_EQ(Log, (TLog{"own", "B1", "own", "A1"}));
}
