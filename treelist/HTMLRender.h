// A small HTML subset shown formatted in cells, header sections and hints: the text is parsed
// into runs and line starts, laid out, painted through an off-screen bitmap and hit-tested for
// links. Used on the window thread only.
#pragma once

#include "classlib/gui/Graphics.h"
#include "treelist/CvList.h"

#include <cstdint>
#include <functional>
#include <memory>

class TCvHTMLData;
class TCvHTMLRender;

// No colour: a transparent background, or no contrast to keep (the class library's clNone).
constexpr TColor CvColorNone = clNone;

enum TCvHTMLItemKind : std::uint8_t {
    hikText,
    hikWrapBreak,
    hikLineBreak,
    hikParagraph,
    hikImage,
    hikRule,
    hikListItem,
    hikIndent
};

// Item flags.
constexpr unsigned hifLink = 1;
constexpr unsigned hifSubscript = 2;
constexpr unsigned hifSuperscript = 4;

// Style bits: bold, italic, underline, strikeout.
constexpr unsigned hsBold = 1;
constexpr unsigned hsItalic = 2;
constexpr unsigned hsUnderline = 4;
constexpr unsigned hsStrikeOut = 8;

// One run of text, or an image, a rule or an indent marker.
class TCvHTMLItem : public TObject {
public:
    TCvHTMLData* Data = nullptr;
    TCvHTMLItemKind Kind = hikText;
    String Text; // an image's source
    unsigned Style = 0;
    int FontHeight = 0; // negative: character height in pixels
    TColor Background = CvColorNone;
    TColor Color = clWindowText;
    String Href;
    String FontName;
    // How many enclosing font tags set a colour; 0 means the run has the default colours.
    int ColorDepth = 0;
    int CachedWidth = -1;
    // Given size of images and rules; after layout the measured size of every item.
    int Width = 0;
    int Height = 0;
    int Indent = 0;
    unsigned Flags = 0;
    // After layout: the descent and, for text, the height of the run's own font.
    int Descent = 0;
    int TextHeight = 0;

    bool IsLineStart() const;
    bool HasContent() const { return Kind != hikText || !Text.empty(); }
};

// Starts a line.
class TCvHTMLBreakItem : public TCvHTMLItem {
public:
    int Alignment = 0; // 0 left, 1 centre, 2 right
    int ListLevel = 0;
    int Bullet = 0;      // -1 on list-item lines
    int BulletWidth = 0; // after layout: the bullet's diameter on a list-item line
};

// Parsed and laid-out markup. Owns its items.
class TCvHTMLData : public TObject {
public:
    TCvHTMLData();
    TCvHTMLData(const TCvHTMLData&) = delete;
    TCvHTMLData& operator=(const TCvHTMLData&) = delete;

    int Count() const { return ItemList.Count(); }
    TCvHTMLItem* Items(int Index) const { return static_cast<TCvHTMLItem*>(ItemList.Get(Index)); }
    void Clear() { ItemList.Clear(); }

    TCvList ItemList; // in reading order; every line begins with a TCvHTMLBreakItem
    TCvHTMLRender* Render = nullptr;
    TColor LinkColor = 0xFF0000; // pure blue
    unsigned LinkStyle = hsUnderline;
    TColor DefColor = clWindowText;
    unsigned DefStyle = 0;
    int DefFontHeight = -11;
    String DefFontName = L"MS Sans Serif";
    TColor DefBackground = CvColorNone;
    std::uint8_t Charset = 0;
    TSize TextSize; // widest line, sum of line heights
    TRect PaintedRect;
};

using TCvHTMLImageNeededEvent =
    std::function<void(TObject* Sender, const String& Src, HBITMAP& Image)>;
using TCvHTMLLinkClickEvent = std::function<void(TObject* Sender, const String& HRef)>;

class TCvHTMLRender : public TObject {
public:
    TCvHTMLRender();
    ~TCvHTMLRender() override;
    TCvHTMLRender(const TCvHTMLRender&) = delete;
    TCvHTMLRender& operator=(const TCvHTMLRender&) = delete;

    // The current data: the renderer's own unless another was selected (nullptr: the own).
    TCvHTMLData& Data() { return *FCurrent; }
    void SelectData(TCvHTMLData* AData);

    // Parses Text into the current data, or into AData, and lays it out; with Wrap, lines
    // wider than MaxWidth break before their last word. Throws Exception
    // "Quarnix HTML engine error - the text is not valid HTML" (the data is left empty).
    void ParseMarkup(const String& Text, int MaxWidth = 0, bool Wrap = false);
    void ParseMarkupInto(const String& Text, TCvHTMLData& AData, int MaxWidth = 0,
                         bool Wrap = false);

    // Paints the current data into Rect of DC, its content moved by -Origin. With
    // UseCallerColors the runs that keep the default colours take the caller's; unless
    // ContrastBackground is CvColorNone, text colours are turned to stand out against it.
    void PaintMarkup(HDC DC, TPoint Origin, const TRect& Rect, TColor ContrastBackground);
    void PaintMarkupClipped(HDC DC, TPoint Origin, const TRect& Rect, bool UseCallerColors,
                            TColor CallerTextColor, TColor CallerBackground,
                            TColor ContrastBackground);

    TCvHTMLItem* ItemAt(TPoint Point, TPoint Origin, const TRect& Rect);
    bool LinkAtPoint(TPoint Point, TPoint Origin, const TRect& Rect, String& Href);

    // The bitmap stays the event's; the renderer only draws it.
    TCvHTMLImageNeededEvent OnImageNeeded;

protected:
    virtual void TriggerImageNeeded(const String& Src, HBITMAP& Image);

private:
    friend class THTMLParser;
    void Measure(TCvHTMLData& AData);
    HDC MeasureDC() const { return FDC.Handle(); }

    TCvHTMLData FOwnData;
    TCvHTMLData* FCurrent = &FOwnData;
    TMemoryDC FDC;
};

// The style bits (hsBold...) of a font's style.
unsigned HTMLStyleBits(TFontStyles Styles);
// Gives HTML data the font's colour, style, height and name and the background as defaults.
void SetHTMLDefaults(TCvHTMLData& Data, const TFont& Font, TColor Background);

// A new data bound to Render, owned by the caller.
std::unique_ptr<TCvHTMLData> NewHTMLData(TCvHTMLRender& Render);
// Frees Data; a renderer that had it selected goes back to its own.
void ReleaseHTMLData(TCvHTMLRender& Render, std::unique_ptr<TCvHTMLData> Data);

// Color darkened by half on a light background, lightened by half on a dark one.
TColor ContrastColor(TColor Color, TColor Background);
