#include "app/QRVDataMod.h"

#include "app/QRVUtils.h"

TfrmDM* frmDM = nullptr;

namespace {

// A list as the layout makes it: six paths below Folder (written relative to the development
// tree, rewritten by the skin pass) and its caption font.
TavImageList* MakeSkinList(TfrmDM& Owner, const wchar_t* Name, const String& Folder,
                           const String& Stem, int FontHeight, TColor FontColour) {
    auto* List = new TavImageList(&Owner);
    List->Name = Name;
    const wchar_t* const Parts[SkinImageCount] = {L"l", L"m", L"r", L"o.l", L"o.m", L"o.r"};
    for (int I = 0; I < SkinImageCount; ++I)
        List->SetImagePath(static_cast<TSkinImage>(I), L"..\\Bin\\Data\\Buttons\\" + Folder +
                                                           L"\\" + Stem + L"." + Parts[I] +
                                                           L".bmp");
    TFont Font;
    Font.SetName(L"Verdana");
    Font.SetStyle({fsBold});
    Font.SetHeight(FontHeight);
    Font.SetColor(FontColour);
    List->SetFont(Font);
    return List;
}

} // namespace

TfrmDM::TfrmDM(TComponent* AOwner) : TForm(AOwner) {
    Name = L"frmDM";
    avILInside = MakeSkinList(*this, L"avILInside", L"Inside", L"but", -11, 0x964C02);
    avILBig = MakeSkinList(*this, L"avILBig", L"Main", L"big", -13, clWhite);
    avILTop = MakeSkinList(*this, L"avILTop", L"Main", L"top", -13, clWhite);

    ilGlyphs = new TImageList(this);
    ilGlyphs->Name = L"ilGlyphs";
    ilGlyphs->SetSize(GlyphWidth, GlyphHeight);
    TBitmap Strip;
    Strip.LoadFromResourceName(GetModuleHandleW(nullptr), L"Glyphs");
    ilGlyphs->Add(Strip, nullptr);

    frmDM = this;
    OnCreate = [this](TObject*) { ApplySkinAndLanguage(*this); };
}

TfrmDM::~TfrmDM() {
    if (frmDM == this)
        frmDM = nullptr;
}
