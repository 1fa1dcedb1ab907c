// The skinned message box, which sizes itself to its text and shows one of six button sets.
#pragma once

#include "app/FlatForm.h"

#include <array>
#include <functional>
#include <vector>

// The picture beside the text (the fourth argument of ShowFlatMessageBox).
enum TFlatMessageIcon { fmiQuestion = 1, fmiInformation = 2, fmiExclamation = 3, fmiStop = 4 };

// The window size limits of the box.
constexpr int FlatMessageBoxMaxWidth = 700;
constexpr int FlatMessageBoxMaxHeight = 500;

// One button of a set: its name (and language section), result, place and width.
struct TFlatMessageButtonPlace {
    String Name;
    TModalResult Result;
    int Left;
    int Top;
    int Width;
};

struct TFlatMessageBoxLayout {
    int Width = 0;
    int Height = 0;
    // Icon 1 to 4 shows a 32 x 32 picture at IconPos.
    bool HasIcon = false;
    TPoint IconPos;
    std::vector<TFlatMessageButtonPlace> Buttons;
};

// How wide the face of the button named Name is: its glyph, the space after it and its caption
// in its font.
using TButtonFaceWidth = std::function<int(const String& Name)>;

// The box for a text of TextSize, with Icon and the button set Buttons (0 to 5; another value
// shows no button, like set 1). A button whose face does not fit its standard width is made
// wider, and the box with it; without FaceWidth every button keeps its standard width.
TFlatMessageBoxLayout LayoutFlatMessageBox(TSize TextSize, int Icon, int Buttons,
                                           const TButtonFaceWidth& FaceWidth = {});

// A 32 x 32 picture of one of the four message kinds, drawn over its parent.
class TMessageIconImage : public TGraphicControl {
public:
    TMessageIconImage(TComponent* AOwner, TFlatMessageIcon Kind);

protected:
    void Paint() override;

private:
    TFlatMessageIcon FKind;
};

class TfrmFlatMessageBox : public TFlatForm {
public:
    explicit TfrmFlatMessageBox(TComponent* AOwner);

    // Sizes the box to Text and shows Icon's picture and the buttons of the set.
    void Prepare(const String& Caption, const String& Text, int Icon, int Buttons);

    TLabel* Label1;
    std::array<TMessageIconImage*, 4> Images{}; // Image1 to Image4
    TavImageExpandButton* btnOk;
    TavImageExpandButton* btnCancel;
    TavImageExpandButton* btnYes;
    TavImageExpandButton* btnNo;
    TavImageExpandButton* btnNoToAll;
    TavImageExpandButton* btnYesToAll;
    // Out of sight: Escape clicks it, so that every set can be closed with the keyboard.
    TButton* EscapeButton;

protected:
    void WndProc(TMessage& Message) override;

private:
    TavImageExpandButton* MakeButton(const wchar_t* Name, const wchar_t* Caption,
                                     TModalResult Result, int Width);
    // The caption and glyph the first show's skin-and-language pass gives the button, measured
    // now so that the layout can make room for them.
    int FaceWidth(const String& Name);
    String FText;
};

// Shows the box modally; the result of the button pressed, 2 when closed otherwise.
int ShowFlatMessageBox(TComponent* Owner, const String& Caption, const String& Text, int Icon,
                       int Buttons);
// The exclamation mark and OK, titled with the application's title.
int ShowFlatMessage(TComponent* Owner, const String& Text);
