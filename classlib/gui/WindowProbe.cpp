#include "classlib/gui/WindowProbe.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/Menus.h"

namespace {

String AtomText(LPARAM Atom) {
    wchar_t Text[256] = {};
    const UINT Length = GlobalGetAtomNameW(static_cast<ATOM>(Atom), Text, 256);
    return String(Text, Length);
}

TPopupMenu* MenuOf(const TComponent& Owner, TMenuItem& Item) {
    for (int I = 0; I < Owner.ComponentCount(); ++I)
        if (auto* Menu = dynamic_cast<TPopupMenu*>(Owner.Components(I)))
            if (Menu->Items().FindCommand(Item.Command()) == &Item)
                return Menu;
    return nullptr;
}

LRESULT AnswerMenu(const TForm& Form, WPARAM Query, const String& Name) {
    auto* Item = dynamic_cast<TMenuItem*>(FindNamedComponent(Form, Name));
    if (!Item)
        return 0;
    if (Query == pqMenuCommand)
        return ProbeFound(Item->Command());
    const TPopupMenu* Menu = MenuOf(*Item->Owner(), *Item);
    return Menu ? ProbeFound(static_cast<UINT>(reinterpret_cast<UINT_PTR>(Menu->WindowHandle())))
                : 0;
}

LRESULT AnswerRow(const TForm& Form, WPARAM Query, const String& Text) {
    const size_t Split = Text.find(ProbeRowSeparator);
    if (Split == String::npos)
        return 0;
    auto* List = dynamic_cast<TControl*>(FindNamedComponent(Form, Text.substr(0, Split)));
    if (!List || !List->Showing())
        return 0;
    const TProbeRow Row{Text.substr(Split + 1)};
    return List->Perform(CM_PROBEROW, Query, reinterpret_cast<LPARAM>(&Row));
}

LRESULT AnswerFocused(const TForm& Form, const String& Name) {
    auto* Control = dynamic_cast<TWinControl*>(FindNamedComponent(Form, Name));
    if (!Control || !Control->Showing() || !Control->HandleAllocated())
        return 0;
    const HWND Focus = GetFocus();
    return Focus && (Focus == Control->Handle() || IsChild(Control->Handle(), Focus))
               ? ProbeFound(1)
               : 0;
}

} // namespace

TComponent* FindNamedComponent(const TComponent& Owner, const String& Name) {
    if (TComponent* Found = Owner.FindComponent(Name))
        return Found;
    for (int I = 0; I < Owner.ComponentCount(); ++I)
        if (TComponent* Found = FindNamedComponent(*Owner.Components(I), Name))
            return Found;
    return nullptr;
}

LRESULT AnswerProbe(TForm& Form, WPARAM Query, LPARAM Atom) {
    const String Text = AtomText(Atom);
    if (Text.empty())
        return 0;
    switch (Query) {
    case pqControlCentre: {
        auto* Control = dynamic_cast<TControl*>(FindNamedComponent(Form, Text));
        if (!Control || !Control->Showing())
            return 0;
        const TRect Client = Control->ClientRect();
        return ProbeFoundPoint(Control->ClientToScreen(
            TPoint{(Client.Left + Client.Right) / 2, (Client.Top + Client.Bottom) / 2}));
    }
    case pqMenuCommand:
    case pqMenuWindow:
        return AnswerMenu(Form, Query, Text);
    case pqRowText:
    case pqRowCheckBox:
        return AnswerRow(Form, Query, Text);
    case pqControlFocused:
        return AnswerFocused(Form, Text);
    default:
        return 0;
    }
}
