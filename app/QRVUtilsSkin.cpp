// The skin-and-language pass over a window.
#include "app/QRVUtils.h"

#include "app/AppStartup.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatButton.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatSpinEdit.h"
#include "controls/avImageButton.h"

#include <algorithm>

namespace {

void RewriteListPaths(TavImageList& List) {
    for (int I = 0; I < SkinImageCount; ++I) {
        const auto Index = static_cast<TSkinImage>(I);
        const String& Path = List.ImagePath(Index);
        if (IsDevelopmentSkinPath(Path))
            List.SetImagePath(Index, SkinPathInProgramFolder(Path));
    }
    List.UpdateButtons();
}

void RewriteButtonPaths(TavImageButton& Button) {
    for (const TSkinImage Index : {siNormalMiddle, siHoverMiddle}) {
        const String& Path = Button.ImagePath(Index);
        if (IsDevelopmentSkinPath(Path))
            Button.SetImagePath(Index, SkinPathInProgramFolder(Path));
    }
}

void DressButton(TavImageExpandButton& Button) {
    // A button that cannot be dressed keeps its look; the pass goes on with the next one.
    try {
        if (Button.Tag >= 0 && Button.Tag < GlyphCount && frmDM) {
            TBitmap Glyph;
            frmDM->ilGlyphs->GetBitmap(static_cast<int>(Button.Tag), Glyph);
            Button.SetGlyph(Glyph);
        }
        if (AppLanguage->IsLoaded() && !Button.Name.empty()) {
            // No section test: a button the file does not name shows its own name.
            String Caption;
            AppLanguage->GetText(Button.Name, L"Caption", Caption);
            Button.SetCaption(Caption);
            Button.Hint = Caption;
        }
        Button.RefreshFromImageList();
    } catch (...) {
    }
}

// Labels and flat check boxes take a caption only from a section of their own.
void TakeLanguageCaption(TControl& Control) {
    if (!AppLanguage->IsLoaded() || !AppLanguage->SectionExists(Control.Name))
        return;
    String Caption;
    AppLanguage->GetText(Control.Name, L"Caption", Caption);
    Control.SetCaption(LanguageLineBreaks(Caption));
}

} // namespace

bool IsDevelopmentSkinPath(const String& Path) {
    return Path.starts_with(L"..");
}

String SkinPathInProgramFolder(const String& Path) {
    // The layouts' paths all begin with "..\Bin\"; seven characters go whatever they are.
    return AppDir + (Path.size() > 7 ? Path.substr(7) : String());
}

String LanguageLineBreaks(String Text) {
    std::replace(Text.begin(), Text.end(), L'|', L'\r');
    return Text;
}

namespace {

template <class TKind> bool IsKind(TControl& Control) {
    return dynamic_cast<TKind*>(&Control) != nullptr;
}

// What the pass gives each kind of control; the first kind that matches decides. A windowed
// control of no kind here is walked when it holds controls.
struct TSkinRule {
    bool (*Matches)(TControl& Control);
    void (*Apply)(TControl& Control);
};
const TSkinRule SkinRules[] = {
    // Own pictures only: the normal and hover middle pieces.
    {&IsKind<TavImageButton>,
     [](TControl& C) { RewriteButtonPaths(static_cast<TavImageButton&>(C)); }},
    // Glyph, caption and hint (a caption even without a section), then the list's pictures.
    {&IsKind<TavImageExpandButton>,
     [](TControl& C) { DressButton(static_cast<TavImageExpandButton&>(C)); }},
    // A caption from a section of their own.
    {&IsKind<TCustomLabel>, &TakeLanguageCaption},
    {&IsKind<TFlatCheckBox>, &TakeLanguageCaption},
};

} // namespace

void ApplySkinAndLanguage(TWinControl& Control) {
    for (int I = Control.ComponentCount() - 1; I >= 0; --I)
        if (auto* List = dynamic_cast<TavImageList*>(Control.Components(I)))
            RewriteListPaths(*List);
    for (int I = Control.ControlCount() - 1; I >= 0; --I) {
        TControl& Child = *Control.Controls(I);
        const auto Rule = std::find_if(std::begin(SkinRules), std::end(SkinRules),
                                       [&](const TSkinRule& R) { return R.Matches(Child); });
        if (Rule != std::end(SkinRules))
            Rule->Apply(Child);
        else if (auto* Windowed = dynamic_cast<TWinControl*>(&Child);
                 Windowed && Windowed->ControlCount() > 0)
            ApplySkinAndLanguage(*Windowed);
    }
}

void CopySpinButtonColors(TCustomFlatSpinEdit& SpinEdit, const TFlatButton& Template) {
    const TColor Colors[] = {Template.ColorFocused(), Template.ColorDown(), Template.ColorBorder(),
                             Template.ColorHighLight(), Template.ColorShadow()};
    for (TTimerSpeedButton* Arrow :
         {&SpinEdit.Button().UpButton(), &SpinEdit.Button().DownButton()}) {
        Arrow->SetColor(Template.Color());
        for (int Index = fbcFocused; Index <= fbcShadow; ++Index)
            Arrow->SetFlatColor(static_cast<TFlatButtonColor>(Index), Colors[Index]);
    }
}
