#include "main/dialogs/CookieListForm.h"

#include "app/Help.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"

#include <memory>

TfrmCookieList::TfrmCookieList(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmCookieList";
    SetBounds(0, 0, 560, 420);
    Position = poDesktopCenter;
    const int Top = TitleBarHeight();
    const int Inner = Width() - 2 * FrameMargin;
    const int ButtonsTop = Height() - FrameMargin - 31;
    lvCookies = MakeTreeList(*this, *this, L"lvCookies",
                             Bounds(FrameMargin, Top, Inner, ButtonsTop - Top - 6));
    lvCookies->SetShowCheckboxes(true);
    // One column as wide as the list, the vertical bar's room left.
    AddHeaderColumn(*lvCookies, AppCaption(L"frmCookiesListColumnName1"),
                    Inner - GetSystemMetrics(SM_CXVSCROLL) - 4);
    const struct {
        const wchar_t* Name;
        TavImageExpandButton* TfrmCookieList::*Member;
        int Glyph;
    } Buttons[] = {
        {L"btnSelectAll", &TfrmCookieList::btnSelectAll, 16},
        {L"btnUnSelectAll", &TfrmCookieList::btnUnSelectAll, 17},
        {L"btnCookiesListRemove", &TfrmCookieList::btnCookiesListRemove, 7},
        {L"btnClose", &TfrmCookieList::btnClose, -1},
    };
    int Left = FrameMargin;
    for (const auto& Entry : Buttons) {
        auto* Button = MakeNamedChild<TavImageExpandButton>(*this, *this, Entry.Name,
                                                            Bounds(Left, ButtonsTop, 110, 25));
        Button->Tag = Entry.Glyph;
        if (frmDM)
            Button->SetImageList(frmDM->avILInside);
        this->*Entry.Member = Button;
        Left += 116;
    }
    btnClose->SetLeft(FrameMargin + Inner - 110);
    btnSelectAll->OnClick = [this](TObject*) { btnSelectAllClick(); };
    btnUnSelectAll->OnClick = [this](TObject*) { btnUnselectAllClick(); };
    btnCookiesListRemove->ModalResult = mrOk;
    btnClose->ModalResult = mrCancel;
    ApplySkinAndLanguage(*this);
    SetFormCaption(AppCaption(L"frmCookiesListCaption"));
}

void TfrmCookieList::SetRows(const std::vector<TCookieRow>& Rows) {
    lvCookies->Items().BeginUpdate();
    lvCookies->Items().RemoveAll();
    for (const TCookieRow& Row : Rows) {
        TCvTreeItem* Item = AddListRow(*lvCookies, Row.File.Text, {Row.File.Path}, -1, true);
        Item->SetCheckBoxState(Row.Checked ? 1 : 0);
    }
    lvCookies->Items().EndUpdate();
}

void TfrmCookieList::GetChecks(std::vector<TCookieRow>& Rows) const {
    for (std::size_t I = 0; I < Rows.size(); ++I)
        if (const TCvTreeItem* Item = lvCookies->Items().ItemAtIndex(static_cast<int>(I)))
            Rows[I].Checked = Item->IsChecked();
}

void TfrmCookieList::CheckAllShown(bool Checked) {
    lvCookies->Items().BeginUpdate();
    for (int I = 0; I < lvCookies->Items().TotalCount(); ++I) {
        TCvTreeItem* Item = lvCookies->Items().ItemAtIndex(I);
        if (!Item->IsHiddenState())
            Item->SetCheckBoxState(Checked ? 1 : 0);
    }
    lvCookies->Items().EndUpdate();
}

void TfrmCookieList::btnSelectAllClick() {
    CheckAllShown(true);
}

void TfrmCookieList::btnUnselectAllClick() {
    CheckAllShown(false);
}

void TfrmCookieList::ShowHelp() {
    ShowHelpTopic(L"::/Functions/Internet_Privacy.htm");
}

bool TCookieListPicker::Pick(std::vector<TCookieRow>& Rows) {
    const std::unique_ptr<TfrmCookieList> Picker(NewForm<TfrmCookieList>(Application));
    Picker->SetRows(Rows);
    if (Picker->ShowFlatModal() != mrOk)
        return false;
    Picker->GetChecks(Rows);
    return true;
}
