#pragma once
// The cookie picker: the cookie files in a checked list; Remove deletes the checked ones, Close
// nothing.

#include "app/FlatForm.h"
#include "main/InternetPrivacy.h"

class TCvTree;

class TfrmCookieList : public TFlatForm {
public:
    explicit TfrmCookieList(TComponent* AOwner);

    // Fills the list from Rows, each unchecked as given.
    void SetRows(const std::vector<TCookieRow>& Rows);
    // Copies the check boxes back into Rows.
    void GetChecks(std::vector<TCookieRow>& Rows) const;

    // Check or uncheck every row that is not hidden.
    void btnSelectAllClick();
    void btnUnselectAllClick();
    void ShowHelp() override;

    TCvTree* lvCookies;
    TavImageExpandButton* btnSelectAll;
    TavImageExpandButton* btnUnSelectAll;
    TavImageExpandButton* btnCookiesListRemove;
    TavImageExpandButton* btnClose;

private:
    void CheckAllShown(bool Checked);
};

// The picker as the privacy page uses it: a TfrmCookieList shown modally for each pick.
class TCookieListPicker : public ICookiePicker {
public:
    bool Pick(std::vector<TCookieRow>& Rows) override;
};
