// The skin-and-language pass over a window.
#include "app/QRVUtils.h"

#include "app/AppStartup.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatCheckBox.h"
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

void ApplySkinAndLanguage(TWinControl& Control) {
    for (int I = Control.ComponentCount() - 1; I >= 0; --I)
        if (auto* List = dynamic_cast<TavImageList*>(Control.Components(I)))
            RewriteListPaths(*List);
    for (int I = Control.ControlCount() - 1; I >= 0; --I) {
        TControl* Child = Control.Controls(I);
        if (auto* Own = dynamic_cast<TavImageButton*>(Child))
            RewriteButtonPaths(*Own);
        else if (auto* Button = dynamic_cast<TavImageExpandButton*>(Child))
            DressButton(*Button);
        else if (dynamic_cast<TCustomLabel*>(Child) || dynamic_cast<TFlatCheckBox*>(Child))
            TakeLanguageCaption(*Child);
        else if (auto* Windowed = dynamic_cast<TWinControl*>(Child);
                 Windowed && Windowed->ControlCount() > 0)
            ApplySkinAndLanguage(*Windowed);
    }
}
