// Skinned controls I: the bitmap-skinned buttons in each state, the flat check boxes and radio
// buttons, a link and a gauge.
#include "controls/BitmapProgress.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatRadioButton.h"
#include "controls/HyperLabel.h"
#include "controls/avImageButton.h"
#include "tests/gallery/Gallery.h"

namespace {

// The program folder's skin, as the build lays it out beside the test programs.
String SkinFolder() {
    return ExtractFilePath(TApplication::ExeName()) + L"..\\dist\\Data\\";
}

TavImageList* InsideList(TForm& Form) {
    auto* List = new TavImageList(&Form);
    const wchar_t* const Parts[SkinImageCount] = {L"l", L"m", L"r", L"o.l", L"o.m", L"o.r"};
    for (int I = 0; I < SkinImageCount; ++I)
        List->SetImagePath(static_cast<TSkinImage>(I),
                           SkinFolder() + L"Buttons\\Inside\\but." + Parts[I] + L".bmp");
    List->Font().SetName(L"Verdana");
    List->Font().SetStyle({fsBold});
    List->Font().SetHeight(-11);
    List->Font().SetColor(0x964C02);
    return List;
}

void Build(TForm& Form) {
    Form.SetClientWidth(560);
    Form.SetClientHeight(330);
    Form.SetColor(0xE1EAEB);
    TavImageList* List = InsideList(Form);
    TBitmap Strip;
    Strip.LoadFromResourceName(GetModuleHandleW(nullptr), L"Glyphs");
    TBitmap Glyph;
    Glyph.SetPixelFormat(pf24bit);
    Glyph.SetSize(21, 17);
    Glyph.Canvas().CopyRect(TRect(0, 0, 21, 17), Strip.Canvas(), TRect(42, 0, 63, 17));

    const wchar_t* const Names[] = {L"Up", L"Hot", L"Pressed", L"Latched", L"Disabled"};
    TavImageExpandButton* Buttons[5];
    for (int I = 0; I < 5; ++I) {
        Buttons[I] =
            GalleryPut<TavImageExpandButton>(Form, Bounds(10, 10 + I * 30, 110, 24), Names[I]);
        Buttons[I]->SetImageList(List);
        Buttons[I]->SetGlyph(Glyph);
    }
    Buttons[3]->SetGroupIndex(1);
    Buttons[3]->SetDown(true);
    Buttons[4]->SetEnabled(false);
    auto* Own = GalleryPut<TavImageButton>(Form, Bounds(10, 160, 110, 24), L"Own skin");
    for (int I = 0; I < SkinImageCount; ++I)
        Own->SetImagePath(static_cast<TSkinImage>(I), List->ImagePath(static_cast<TSkinImage>(I)));
    Own->SetBounds(10, 160, 110, 24);

    const wchar_t* const Checks[] = {L"Unchecked", L"Checked", L"Focused", L"Disabled checked",
                                     L"Wrapped|caption on two lines"};
    TFlatCheckBox* Boxes[5];
    for (int I = 0; I < 5; ++I)
        Boxes[I] = GalleryPut<TFlatCheckBox>(Form, Bounds(140, 10 + I * 22, 150, 17), Checks[I]);
    Boxes[1]->SetChecked(true);
    Boxes[3]->SetChecked(true);
    Boxes[3]->SetEnabled(false);
    Boxes[4]->SetCaption(L"Wrapped\rcaption on two lines");
    Boxes[4]->SetBounds(140, 98, 150, 32);
    TFlatRadioButton* Radios[3];
    const wchar_t* const RadioNames[] = {L"Radio", L"Radio checked", L"Radio disabled"};
    for (int I = 0; I < 3; ++I)
        Radios[I] =
            GalleryPut<TFlatRadioButton>(Form, Bounds(140, 140 + I * 22, 150, 17), RadioNames[I]);
    Radios[1]->SetChecked(true);
    Radios[2]->SetEnabled(false);

    auto* Link = GalleryPut<THyperLabel>(Form, Bounds(140, 210, 150, 16), L"A hyperlink label");
    Link->SetAutoSize(true);
    auto* Gauge = GalleryPut<TBitmapProgress>(Form, Bounds(10, 200, 110, 20));
    TBitmap Back, Bar;
    for (auto [B, C] : {std::pair<TBitmap*, TColor>{&Back, 0xF0E0D0}, {&Bar, 0x964C02}}) {
        B->SetPixelFormat(pf24bit);
        B->SetSize(4, 4);
        B->Canvas().Brush().SetColor(C);
        B->Canvas().FillRect(TRect(0, 0, 4, 4));
    }
    Gauge->SetBackBitmap(Back);
    Gauge->SetBarBitmap(Bar);
    Gauge->SetPosition(62);
    Gauge->Font().SetColor(clWhite);

    // The states that need the mouse: the cursor stands over "Hot", "Pressed" is held down.
    Screen->ActiveWindowSource = [&Form] { return Form.Handle(); };
    Screen->CursorPosSource = [Hot = Buttons[1]] { return Hot->ClientToScreen(TPoint{20, 10}); };
    PostMessageW(Buttons[1]->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    PostMessageW(Buttons[2]->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    PostMessageW(Boxes[2]->Handle(), WM_SETFOCUS, 0, 0);
}

const TGalleryPage Page(L"controls-1", &Build);

} // namespace
