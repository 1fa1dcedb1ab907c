// A hint window that shows wide or HTML text, and the packed form in which a control puts a
// wide hint into the class library's narrow hint string.
#pragma once

#include "classlib/gui/Controls.h"
#include "classlib/gui/HintWindow.h"
#include "treelist/HTMLRender.h"

#include <memory>
#include <string>

// The narrow text (system code page), a zero byte, the UTF-16LE text, two zero bytes, FE FF. A
// reader that stops at the first zero sees the narrow text.
std::string PackWideHint(const String& Text);
// The wide text of a packed hint; a hint that is not packed is read as narrow text.
String UnpackWideHint(const std::string& Packed);
// The class library's hint string for a wide text: packed, or empty for an empty text.
String PackedHintString(const String& Text);
// Moves R onto Desktop, all four sides against the same rectangle; the size is kept.
TRect ClampToDesktop(TRect R, const TRect& Desktop);
// The rectangle the whole desktop covers (every monitor).
TRect DesktopRect();

// Not the application's hint window: its users make it and place it themselves.
class TCvHintWindow : public THintWindow {
public:
    explicit TCvHintWindow(TComponent* AOwner);
    ~TCvHintWindow() override;

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    const String& WideCaption() const { return FWideCaption; }
    void SetWideCaption(const String& Value);
    bool IsHTML = false;

    // The window rectangle (at 0, 0) that Text needs, at most MaxWidth wide before the margins.
    TRect MeasureHint(int MaxWidth, const String& Text);
    // The same for the narrow text of a hint (the part a packed hint shows).
    TRect CalcHintRect(int MaxWidth, const String& Hint, void* Data) override;
    // Shows Text in Rect (grown 4 pixels at the bottom) on the desktop, topmost, not activated.
    virtual void ActivateWideHint(TRect Rect, const String& Text);

    TCvHTMLLinkClickEvent OnLinkClick;
    TCvHTMLImageNeededEvent OnImageNeeded;

protected:
    void CreateParams(TCreateParams& Params) const override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void NotifyLinkClick(const String& HRef);
    virtual void NotifyImageNeeded(const String& Src, HBITMAP& Image);

private:
    void PrepareHTML();
    void Remeasure();
    TRect MeasureText(int MaxWidth, const String& Text, bool Narrow, const std::string& NarrowText);

    bool FWordWrap = false;
    String FWideCaption;
    bool FActivating = false;
    std::unique_ptr<TCvHTMLRender> FHTML;
};
