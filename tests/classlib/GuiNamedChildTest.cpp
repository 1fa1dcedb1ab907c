// The named-child helper: one call makes a control owned by one component, shown in another
// window, named and placed; a name its owner already gives is refused before anything is made.
#include "GuiTestSupport.h"

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/NamedChild.h"

namespace {

class GuiNamedChildTest : public PlainFormTest<300, 200> {};

} // namespace

TEST_F(GuiNamedChildTest, TheChildIsOwnedByOneAndShownInAnother) {
    auto* Panel = MakeNamedChild<TPanel>(*Form, *Form, L"Panel", Bounds(10, 10, 200, 150));
    auto* Block =
        MakeNamedChild<TFilledBlock>(*Form, *Panel, L"Block", Bounds(5, 6, 40, 30), clBlue);

    EXPECT_EQ(Block->Owner(), Form);
    EXPECT_EQ(Block->Parent(), Panel);
    EXPECT_EQ(Block->BoundsRect(), Bounds(5, 6, 40, 30));
    EXPECT_EQ(Form->FindComponent(L"block"), Block);
    EXPECT_EQ(Panel->ComponentCount(), 0) << "the parent does not own it";
    // The constructor's own argument arrived: the block paints blue where it stands.
    Form->Show();
    TClientPixels Pixels(*Panel);
    EXPECT_EQ(Pixels.At(10, 10), clBlue);
}

TEST_F(GuiNamedChildTest, ANameIsGivenOncePerOwner) {
    TComponent OtherOwner(nullptr);
    MakeNamedChild<TPanel>(*Form, *Form, L"btnNext", Bounds(0, 0, 10, 10));
    const struct {
        const char* Case;
        TComponent* Owner;
        const wchar_t* Name;
        bool Refused;
    } Cases[] = {
        {"the same name", Form, L"btnNext", true},
        {"the same name in other case", Form, L"BTNNEXT", true},
        {"another name", Form, L"btnBack", false},
        {"the same name in another owner", &OtherOwner, L"btnNext", false},
        {"an empty name, twice", Form, L"", false},
        {"an empty name, again", Form, L"", false},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Case);
        const int Before = Case.Owner->ComponentCount();
        const auto Make = [&] {
            MakeNamedChild<TPanel>(*Case.Owner, *Form, Case.Name, Bounds(0, 20, 10, 10));
        };
        if (Case.Refused) {
            EXPECT_THROW(Make(), EComponentError);
            EXPECT_EQ(Case.Owner->ComponentCount(), Before) << "nothing was made";
        } else {
            EXPECT_NO_THROW(Make());
            EXPECT_EQ(Case.Owner->ComponentCount(), Before + 1);
        }
    }
}
