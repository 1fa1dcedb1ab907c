// The scheduler's date dialog as its date button opens it. It is a window of its own, so it is
// shown over the page, inside the part of the screen the page's picture takes.
#include "app/FlatForm.h"
#include "classlib/gui/ExtCtrls.h"
#include "scheduler/EditDateForm.h"
#include "tests/gallery/Gallery.h"

#include <memory>

namespace {

// The frame pictures outlive every window of the run.
std::unique_ptr<TFlatFormSystem> FormSystem;

void Build(TForm& Form) {
    Form.SetClientWidth(400);
    Form.SetClientHeight(244);
    if (!FlatFormSystem)
        FormSystem = std::make_unique<TFlatFormSystem>(ExtractFilePath(TApplication::ExeName()) +
                                                       L"..\\dist\\Data\\");
    auto* Dialog = NewForm<TfrmEditDate>(&Form);
    Dialog->MonthCalendar->SetDate(EncodeDate(2026, 12, 24));
    // Shown once the page is up, so that it comes up in front of it.
    auto* Later = new TTimer(&Form);
    Later->SetInterval(50);
    Later->OnTimer = [&Form, Dialog, Later](TObject*) {
        Later->SetEnabled(false);
        const TPoint Corner = Form.ClientToScreen(TPoint(15, 16));
        Dialog->Position = poDesigned;
        Dialog->SetBounds(Corner.X, Corner.Y, Dialog->Width(), Dialog->Height());
        Dialog->ShowFlat();
    };
}

const TGalleryPage Page(L"scheduler-editdate", &Build);

} // namespace
