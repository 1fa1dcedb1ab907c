#include "GuiTestSupport.h"

#include <string>
#include <vector>

namespace {

// A windowless control, as a drag source or target.
class TSpot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {}
};

struct TDragFixture {
    TForm* Form;
    TCustomControl* Source;
    TCustomControl* Taker; // accepts
    TSpot* Refuser;        // windowless, refuses
    std::vector<std::string> Log;
    TPoint Cursor;
};

std::string Name(TDragFixture& F, TObject* Object) {
    if (!Object)
        return "none";
    if (Object == F.Source)
        return "source";
    if (Object == F.Taker)
        return "taker";
    if (Object == F.Refuser)
        return "refuser";
    return "?";
}

const char* StateName(TDragState State) {
    return State == dsDragEnter ? "enter" : State == dsDragLeave ? "leave" : "move";
}

class DragTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        F.Form = NewForm<TForm>(App.get());
        F.Form->SetBounds(100, 100, 400, 200);
        F.Source = Place<TCustomControl>(*F.Form, Bounds(10, 10, 50, 50));
        F.Taker = Place<TCustomControl>(*F.Form, Bounds(100, 10, 50, 50));
        F.Refuser = Place<TSpot>(*F.Form, Bounds(200, 10, 50, 50));
        F.Source->DragMode = dmAutomatic;
        F.Source->OnStartDrag = [this](TObject*, TDragObject*&) { F.Log.push_back("start"); };
        F.Source->OnEndDrag = [this](TObject*, TObject* Target, int X, int Y) {
            F.Log.push_back("end on " + Name(F, Target) + " " + std::to_string(X) + "," +
                            std::to_string(Y));
        };
        F.Taker->OnDragOver = [this](TObject* Sender, TObject* Source, int, int, TDragState State,
                                     bool& Accept) {
            F.Log.push_back(Name(F, Sender) + " " + StateName(State) + " from " + Name(F, Source));
            Accept = true;
        };
        F.Taker->OnDragDrop = [this](TObject* Sender, TObject* Source, int X, int Y) {
            F.Log.push_back(Name(F, Sender) + " drop of " + Name(F, Source) + " at " +
                            std::to_string(X) + "," + std::to_string(Y));
        };
        F.Refuser->OnDragOver = [this](TObject* Sender, TObject*, int, int, TDragState State,
                                       bool& Accept) {
            F.Log.push_back(Name(F, Sender) + " " + StateName(State));
            Accept = false;
        };
        F.Form->Show();
        Screen->CursorPosSource = [this] { return F.Cursor; };
    }
    void TearDown() override {
        CancelDrag();
        Screen->CursorPosSource = nullptr;
        GuiTest::TearDown();
    }

    // The mouse to a point in Control, as the drag's holder of the mouse sees it.
    void MoveOver(TControl& Control, int X, int Y) {
        F.Cursor = Control.ClientToScreen(TPoint{X, Y});
        SendMessageW(GetCapture(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(F.Cursor.X, F.Cursor.Y));
    }
    void Press() {
        F.Cursor = F.Source->ClientToScreen(TPoint{5, 5});
        SendMessageW(F.Source->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    }
    void Release() {
        SendMessageW(GetCapture(), WM_LBUTTONUP, 0, MAKELPARAM(F.Cursor.X, F.Cursor.Y));
    }
    std::vector<std::string> Take() { return std::exchange(F.Log, {}); }

    TDragFixture F{};
};

} // namespace

TEST_F(DragTest, AnAutomaticDragStartsPastTheThresholdAndDropsWhereItIsTaken) {
    Press();
    ASSERT_NE(GetCapture(), nullptr);
    MoveOver(*F.Source, 6, 6); // within the threshold: no drag yet
    EXPECT_TRUE(Take().empty());
    EXPECT_FALSE(F.Source->Dragging());

    MoveOver(*F.Taker, 5, 5);
    EXPECT_TRUE(F.Source->Dragging());
    EXPECT_EQ(Take(), (std::vector<std::string>{"start", "taker enter from source",
                                                "taker move from source"}));
    MoveOver(*F.Refuser, 5, 5); // windowless targets too
    EXPECT_EQ(Take(), (std::vector<std::string>{"taker leave from source", "refuser enter",
                                                "refuser move"}));
    MoveOver(*F.Taker, 7, 8);
    Release();
    EXPECT_EQ(Take(), (std::vector<std::string>{
                          "refuser leave", "taker enter from source", "taker move from source",
                          "taker drop of source at 7,8", "end on taker 7,8"}));
    EXPECT_FALSE(DragActive());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragTest, ARefusedDropAndACancelEndNowhere) {
    const struct {
        const char* Name;
        bool Cancel; // Escape instead of a release
    } Cases[] = {{"released over a refusing control", false}, {"Escape", true}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        F.Source->BeginDrag(true);
        MoveOver(*F.Refuser, 5, 5);
        Take();
        if (Case.Cancel) {
            PostMessageW(F.Form->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
            App->ProcessMessages();
        } else {
            Release();
        }
        EXPECT_EQ(Take(), (std::vector<std::string>{"refuser leave", "end on none 0,0"}));
        EXPECT_FALSE(DragActive());
    }
}

TEST_F(DragTest, ATargetThatGoesDuringTheDragIsForgotten) {
    F.Source->BeginDrag(true);
    MoveOver(*F.Taker, 5, 5);
    Take();
    delete F.Taker;
    F.Taker = nullptr;
    Release();
    EXPECT_EQ(Take(), (std::vector<std::string>{"end on none 0,0"}));
    // And a source that goes ends its drag without a word.
    F.Source->BeginDrag(true);
    delete F.Source;
    F.Source = nullptr;
    MoveOver(*F.Refuser, 5, 5);
    Release();
    EXPECT_FALSE(DragActive());
}

TEST_F(DragTest, AModalWindowOpeningEndsTheDragNowhere) {
    Press();
    MoveOver(*F.Taker, 5, 5);
    ASSERT_TRUE(F.Source->Dragging());
    Take();
    {
        const TThreadWindowsDisabled Modal; // as ShowModal does
    }
    EXPECT_FALSE(DragActive());
    EXPECT_EQ(Take(), (std::vector<std::string>{"taker leave from source", "end on none 0,0"}));
}
