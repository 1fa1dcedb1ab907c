#include "controls/HyperLabel.h"

#include "classlib/rtl/WinApi.h"

std::function<void(const String& URL)> THyperLabel::OpenURL = [](const String& URL) {
    ShellExecuteW(nullptr, L"open", URL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
};

THyperLabel::THyperLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
    Font().SetColor(clNavy);
    FSavedColour = clNavy;
    SetCursor(crHandPoint);
}

void THyperLabel::WndProc(TMessage& Message) {
    TCustomLabel::WndProc(Message);
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        FSavedColour = Font().Color();
        Font().SetColor(FPressed ? PressedColour : HyperColour);
        FHot = true;
        break;
    case CM_MOUSELEAVE:
        Font().SetColor(FSavedColour);
        FHot = false;
        break;
    default:
        break;
    }
}

void THyperLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    Font().SetColor(PressedColour);
    FPressed = true;
    TCustomLabel::MouseDown(Button, Shift, X, Y);
}

void THyperLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    Font().SetColor(FHot ? HyperColour : FSavedColour);
    FPressed = false;
    // Like OnClick, the address opens only for the left button released over the label.
    if (FHot && Button == mbLeft && !URL.empty() && OpenURL)
        OpenURL(URL);
    TCustomLabel::MouseUp(Button, Shift, X, Y);
}
