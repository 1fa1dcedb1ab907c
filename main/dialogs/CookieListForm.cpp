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
    lvCookies->SortMode = smClick;
    // One column as wide as the list, the vertical bar's room left.
    AddHeaderColumn(*lvCookies, AppCaption(L"frmCookiesListColumnName1"),
                    Inner - GetSystemMetrics(SM_CXVSCROLL) - 4);
    const struct {
        const wchar_t* Name;
        TavImageExpandButton* TfrmCookieList::*Member;
        int Glyph;
    } Buttons[] = {
        {L"btnSelectAll", &TfrmCookieList::btnSelectAll, GlyphSelectAll},
        {L"btnUnSelectAll", &TfrmCookieList::btnUnSelectAll, GlyphSelectNone},
        {L"btnCookiesListRemove", &TfrmCookieList::btnCookiesListRemove, GlyphDiscard},
        {L"btnClose", &TfrmCookieList::btnClose, GlyphNone},
    };
    int Left = FrameMargin;
    for (const auto& Entry : Buttons) {
        this->*Entry.Member =
            MakeListButton(Entry.Name, Bounds(Left, ButtonsTop, 110, 25), Entry.Glyph);
        Left += 116;
    }
    btnClose->SetLeft(FrameMargin + Inner - 110);
    btnSelectAll->OnClick = [this](TObject*) { btnSelectAllClick(); };
    btnUnSelectAll->OnClick = [this](TObject*) { btnUnselectAllClick(); };
    btnCookiesListRemove->ModalResult = mrOk;
    btnClose->ModalResult = mrCancel;
    ApplySkinAndLanguage(*this);
    SetFormCaption(AppCaption(L"frmCookiesListCaption"));
    HelpButton->Show();
}

void TfrmCookieList::SetRows(const std::vector<TCookieRow>& Rows) {
    lvCookies->Items().BeginUpdate();
    lvCookies->Items().RemoveAll();
    for (int I = 0; I < static_cast<int>(Rows.size()); ++I) {
        TCvTreeItem* Item =
            AddTreeRow(*lvCookies, nullptr, Rows[I].File.Text, {Rows[I].File.Path}, I);
        Item->SetCheckBoxShown(true);
        Item->SetCheckBoxState(Rows[I].Checked ? 1 : 0);
    }
    lvCookies->Items().EndUpdate();
}

void TfrmCookieList::GetChecks(std::vector<TCookieRow>& Rows) const {
    // By each row's own place: a sorted list shows the rows in another order.
    for (int I = 0; I < lvCookies->Items().TotalCount(); ++I) {
        const TCvTreeItem* Item = lvCookies->Items().ItemAtIndex(I);
        const int Place = TreeRowIndex(Item);
        if (Place >= 0 && Place < static_cast<int>(Rows.size()))
            Rows[Place].Checked = Item->IsChecked();
    }
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
