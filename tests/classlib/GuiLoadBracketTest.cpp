// The load bracket around a window's making: what the constructor makes is loaded once, when
// NewForm returns.
#include "GuiTestSupport.h"

#include <vector>

namespace {

// Notes each Loaded, and whether it was loading while it was made.
class TLoadProbe : public TComponent {
public:
    TLoadProbe(TComponent* Owner, std::vector<String>& Log, const String& ProbeName)
        : TComponent(Owner), FLog(Log) {
        Name = ProbeName;
        MadeLoading = ComponentState().Contains(csLoading);
    }
    bool MadeLoading = false;

protected:
    void Loaded() override {
        TComponent::Loaded();
        FLog.push_back(Name);
    }

private:
    std::vector<String>& FLog;
};

class TProbedForm : public TForm {
public:
    TProbedForm(TComponent* Owner, std::vector<String>& Log) : TForm(Owner) {
        First = new TLoadProbe(this, Log, L"First");
        Inner = new TLoadProbe(First, Log, L"Inner");
        LoadingWhileMade = ComponentState().Contains(csLoading);
    }
    TLoadProbe* First;
    TLoadProbe* Inner;
    bool LoadingWhileMade = false;
};

TEST_F(GuiTest, WhatAWindowsConstructorMakesIsLoadedOnceWhenItIsMade) {
    std::vector<String> Log;
    auto* Form = NewForm<TProbedForm>(App.get(), Log);
    EXPECT_TRUE(Form->LoadingWhileMade);
    EXPECT_TRUE(Form->First->MadeLoading);
    EXPECT_TRUE(Form->Inner->MadeLoading) << "owned by a component that is loading";
    EXPECT_EQ(Log, (std::vector<String>{L"Inner", L"First"}));
    for (const TComponent* C :
         {static_cast<TComponent*>(Form), static_cast<TComponent*>(Form->First),
          static_cast<TComponent*>(Form->Inner)})
        EXPECT_FALSE(C->ComponentState().Contains(csLoading)) << ToUtf8(C->Name);
    // Made afterwards, at run time: no bracket, no Loaded.
    auto* Late = new TLoadProbe(Form, Log, L"Late");
    EXPECT_FALSE(Late->MadeLoading);
    EXPECT_EQ(Log.size(), 2u);
}

TEST_F(GuiTest, AlignedControlsOfAWindowAreArrangedWhenItIsMade) {
    class TAlignedForm : public TForm {
    public:
        explicit TAlignedForm(TComponent* Owner) : TForm(Owner) {
            SetBorderStyle(bsNone);
            SetBounds(0, 0, 200, 100);
            Bar = new TWinControl(this);
            Bar->SetParent(this);
            Bar->SetBounds(0, 0, 10, 20);
            Bar->SetAlign(alTop);
            BarWidthWhileMade = Bar->Width();
        }
        TWinControl* Bar;
        int BarWidthWhileMade = 0;
    };
    auto* Form = NewForm<TAlignedForm>(App.get());
    EXPECT_EQ(Form->BarWidthWhileMade, 10) << "nothing moves while the window is made";
    EXPECT_EQ(Form->Bar->BoundsRect(), Bounds(0, 0, 200, 20));
}

} // namespace
