// Standard controls.
#pragma once

#include "classlib/gui/Forms.h"

#include <vector>

// Whether Key is the accelerator of Caption: the character after a single '&' ("&&" is an
// ampersand), compared without case.
bool IsAccel(wchar_t Key, const String& Caption);

// A caption painted by its parent. Line breaks in the caption (CR, LF or both) start new lines;
// '&' is shown as it stands. Alignment places each line across the label, Layout the block of
// lines down it; WordWrap breaks lines between words to fit the width. With AutoSize the label
// takes the size of its text (with WordWrap only its height, and a right-aligned label keeps its
// right edge). A label that is not Transparent first fills its bounds with its Color; a disabled
// one shows its text in the grey of disabled text. Its accelerator focuses FocusControl.
//
// Text is placed glyph by glyph at the advances the font reports, so that it always fits the
// size it was measured at (some renderers otherwise draw wider than they measure).
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

protected:
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    // Draws the caption into Area of the canvas, whose font is set; the colours are the
    // canvas's (derived labels change them before).
    virtual void DoDrawText(const TRect& Area);
    // Fits the bounds to the text when AutoSize holds.
    virtual void AdjustBounds();

    void CaptionChanged() override;
    void FontChanged() override;
    void EnabledChanged() override;

private:
    struct TLine {
        String Text;
        int Width;
    };
    // The caption broken into lines as drawn on Surface, in its font; WrapWidth
    // < 0 breaks only at line breaks.
    std::vector<TLine> Lines(TCanvas& Surface, int WrapWidth) const;
    void Changed();

    bool FAutoSize = true;
    bool FTransparent = false;
    TWinControl* FFocusControl = nullptr;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// ------------------------------------------------------------ system controls

// A control over a window of a system class (EDIT, BUTTON, COMBOBOX): the system draws it and
// handles its input, the object sees every message first through a window subclass, and
// DefaultHandler hands it on along the subclass chain to the class's own procedure. The parent
// hands the child's notifications back as CN_*. The window goes in a fixed order: it leaves the
// object, the subclass is removed, then the window is destroyed.
class TSystemControl : public TWinControl {
public:
    explicit TSystemControl(TComponent* AOwner);
    ~TSystemControl() override;

protected:
    void CreateWnd() override;
    HWND CreateWindowHandle(const TCreateParams& Params, HWND ParentWnd) override;
    void DestroyWindowHandle(HWND Wnd) override;
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void FontChanged() override;
    void ColorChanged() override;
    // The answer to a reflected WM_CTLCOLOR*: the font's colour on the control's Color.
    LRESULT ControlColors(HDC DC);
    static String WindowText(HWND Wnd);

private:
    static LRESULT CALLBACK SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                         UINT_PTR Id, DWORD_PTR Data);
};

// ------------------------------------------------------------------- edits

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// A single-line edit box (a derived class may make it multi-line in CreateParams). Text is the
// caption, kept in step with what is typed; OnChange runs for every change, typed or set.
// WM_CUT and WM_PASTE pass through WndProc, so a derived class may refuse them.
class TCustomEdit : public TSystemControl {
public:
    explicit TCustomEdit(TComponent* AOwner);

    String Text() const { return Caption(); }
    void SetText(const String& Value) { SetCaption(Value); }
    // 0 is no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    // Shown in place of every character; 0 shows the text.
    wchar_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(wchar_t Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // Typed letters are turned to this case; setting it turns the text as well.
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    // The selection shows only while the edit has the focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    // Entering the edit from the keyboard selects all of its text.
    bool AutoSelect = true;
    // The height follows the font.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    void SelectAll();
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) const override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void FontChanged() override;
    virtual void Change();

private:
    void AdjustHeight();

    int FMaxLength = 0;
    wchar_t FPasswordChar = 0;
    bool FReadOnly = false;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    bool FAutoSize = true;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

// An edit that keeps an input mask. The mask is stored but does not restrict typing; OnValidate
// runs when the focus leaves the edit, and may raise to refuse the text.
class TCustomMaskEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;

    String EditMask;
    TNotifyEvent OnValidate;
    // Runs OnValidate.
    virtual void ValidateEdit();

protected:
    void WndProc(TMessage& Message) override;
    // The masked edit's own focus handling: with a mask, the whole text is selected.
    virtual void WMSetFocus(TMessage& Message);
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

// ----------------------------------------------------------------- buttons

// A push button. A click sets the form's ModalResult to the button's (when not mrNone) before
// OnClick. Enter clicks the Default button, unless another button has the focus (then that
// one); Escape clicks the Cancel button; the caption's accelerator clicks it too.
class TButton : public TSystemControl {
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel = false;
    TModalResult ModalResult = mrNone;

    // Clicks the button as the mouse would.
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) const override;
    void WndProc(TMessage& Message) override;

private:
    bool TakesDialogKey(WORD Key) const;

    bool FDefault = false;
};

// ------------------------------------------------------------------ combo boxes

enum TComboBoxStyle {
    csDropDown,         // an edit with a list to drop down
    csSimple,           // an edit over a list that is always shown
    csDropDownList,     // a list to drop down, no typing
    csOwnerDrawFixed,   // csDropDownList whose items OnDrawItem paints, all ItemHeight high
    csOwnerDrawVariable // the same, each item as high as OnMeasureItem says
};

enum TOwnerDrawStateFlag { odSelected, odGrayed, odDisabled, odChecked, odFocused, odComboBoxEdit };
using TOwnerDrawState = TEnumSet<TOwnerDrawStateFlag>;
using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

class TCustomComboBox;

// The items of a combo box: the list the program sees, kept in step with the system's list
// while the window exists (in the order the system keeps them, sorted or not) and put back
// into a new window when the window is made again.
class TComboBoxStrings : public TStrings {
public:
    explicit TComboBoxStrings(TCustomComboBox& Combo) : FCombo(Combo) {}

    int Count() const override { return static_cast<int>(FItems.size()); }
    String Strings(int Index) const override;
    void SetStrings(int Index, const String& S) override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    void Insert(int Index, const String& S) override;
    void InsertObject(int Index, const String& S, TObject* AObject) override;
    int Add(const String& S) override;
    int AddObject(const String& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;

private:
    friend class TCustomComboBox;
    struct TItem {
        String S;
        TObject* Obj = nullptr;
    };
    void CheckIndex(int Index) const;
    // Where S goes in a sorted list without a window.
    int SortedPlace(const String& S) const;
    // Fills the new window with the items, in the order it keeps them.
    void Fill(HWND Wnd);

    TCustomComboBox& FCombo;
    std::vector<TItem> FItems;
};

// A combo box over the system's COMBOBOX. Text is the caption, kept in step with typing and
// with the selection; ItemIndex -1 is no selection. Changing Style or Sorted makes the window
// again, keeping items, text and selection. The system's inner edit and list windows
// (EditHandle, ListHandle) are subclassed too: their messages pass ComboWndProc, which gives
// their keys to the combo box (so OnKey* and the form's dialog keys see them) and tells the
// form when the inner edit takes the focus.
class TCustomComboBox : public TSystemControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    TStrings& Items() { return FItems; }
    int ItemIndex();
    void SetItemIndex(int Value);
    String Text() const { return Caption(); }
    void SetText(const String& Value) { SetCaption(Value); }
    // 0 is no limit; only for the styles with an edit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    // How many items the dropped list shows before it scrolls.
    int DropDownCount = 8;
    // The height of the list's items; 0 until set is the system's choice for the font.
    int ItemHeight();
    void SetItemHeight(int Value);
    bool DroppedDown();
    void SetDroppedDown(bool Value);
    HWND EditHandle() const { return FEditHandle; }
    HWND ListHandle() const { return FListHandle; }
    // Draws on the item being drawn, inside OnDrawItem.
    TCanvas& Canvas() { return FCanvas; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& Params) const override;
    void CreateWnd() override;
    void DestroyWindowHandle(HWND Wnd) override;
    void WndProc(TMessage& Message) override;
    // The messages of the inner edit and list windows (Inner is the one).
    virtual void ComboWndProc(TMessage& Message, HWND Inner);
    void CaptionChanged() override;
    virtual void Change();
    virtual void DropDown();
    // Paints an owner-drawn item: OnDrawItem, or the text on the selection colours.
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);

private:
    friend class TComboBoxStrings;
    static LRESULT CALLBACK InnerProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                      DWORD_PTR Data);
    bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }
    bool OwnerDrawn() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    // The window goes: its selection and text stay with the object for the next one.
    void KeepState(HWND Wnd);
    void FindInnerWindows();
    void ReleaseInnerWindows();
    void SelectionChanged();
    void CNDrawItem(const DRAWITEMSTRUCT& Item);
    void SizeDropDown();

    TComboBoxStrings FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FItemIndex = -1;
    int FMaxLength = 0;
    bool FSorted = false;
    int FItemHeight = 0;
    HWND FEditHandle = nullptr;
    HWND FListHandle = nullptr;
    bool FInnerKey = false;
    TCanvas FCanvas;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};
