// The OLE drop target, called the way the system calls it, with a data object of the test's own.
#include "treelist/CvDragDrop.h"

#include "classlib/gui/StdCtrls.h"

#include "tests/support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Offers a fixed list of formats and nothing else.
class TTestDataObject : public IDataObject {
public:
    explicit TTestDataObject(std::vector<CLIPFORMAT> Formats) : FFormats(std::move(Formats)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Object) override {
        if (IsEqualIID(Riid, IID_IUnknown) || IsEqualIID(Riid, IID_IDataObject)) {
            *Object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *Object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --Refs; } // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override {
        if (Direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> List;
        for (const CLIPFORMAT F : FFormats)
            List.push_back(FORMATETC{F, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(List.size()), List.data(), Enum);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

    ULONG Refs = 1;

private:
    std::vector<CLIPFORMAT> FFormats;
};

class CvDropTargetTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewForm<TForm>(App.get());
        Form->SetBounds(100, 100, 300, 200);
        Form->Show();
    }
    TForm* Form = nullptr;
};

} // namespace

TEST(CvClipboardFormatName, StandardNamesRegisteredNamesAndNone) {
    const wchar_t* Expected[] = {L"TEXT",        L"BITMAP",      L"METAFILEPICT", L"SYLK",
                                 L"DIF",         L"TIFF",        L"OEMTEXT",      L"DIB",
                                 L"PALETTE",     L"PENDATA",     L"RIFF",         L"WAVE",
                                 L"UNICODETEXT", L"ENHMETAFILE", L"HDROP",        L"LOCALE"};
    for (UINT F = 1; F <= 16; ++F)
        EXPECT_EQ(ClipboardFormatName(F), Expected[F - 1]);
    const UINT Registered = RegisterClipboardFormatW(L"Qrv Test Format");
    EXPECT_EQ(ClipboardFormatName(Registered), L"Qrv Test Format");
    EXPECT_EQ(ClipboardFormatName(17), L"");
}

TEST(CvClipboardFormatName, EffectsAndShiftStates) {
    EXPECT_EQ(DropEffectOf(dtCopy), 1u);
    EXPECT_EQ(DropEffectOf(dtMove), 2u);
    EXPECT_EQ(DropEffectOf(dtLink), 4u);
    EXPECT_EQ(DropEffectOf(dtNone), 0u);
    EXPECT_EQ(ShiftStateOfKeys(MK_LBUTTON | MK_CONTROL | MK_ALT),
              (TShiftState{ssLeft, ssCtrl, ssAlt}));
    EXPECT_EQ(ShiftStateOfKeys(MK_RBUTTON | MK_MBUTTON | MK_SHIFT),
              (TShiftState{ssRight, ssMiddle, ssShift}));
}

TEST_F(CvDropTargetTest, EventsEffectsAndFormatNamesOfOneDrag) {
    TCvDropTarget Target(nullptr);
    Target.SetTarget(Form);
    std::vector<std::string> Events;
    TDragType Answer = dtMove;
    Target.OnTargetDrag = [&](TObject*, TDragState State, TOleDragObject* Source, TShiftState Shift,
                              int X, int Y, TDragType& Type) {
        EXPECT_EQ(Type, dtNone);
        Events.push_back("drag " + std::to_string(State) + " " + std::to_string(X) + "," +
                         std::to_string(Y) + (Shift.Contains(ssCtrl) ? " ctrl" : "") +
                         (Source ? " source" : ""));
        Type = Answer;
    };
    Target.OnTargetDrop = [&](TObject*, TOleDragObject* Source, TShiftState, int X, int Y,
                              TDragType& Type) {
        Events.push_back("drop " + std::to_string(X) + "," + std::to_string(Y) +
                         (Source ? " source" : ""));
        Type = dtCopy;
    };
    const UINT Own = RegisterClipboardFormatW(L"Qrv Test Format");
    TTestDataObject Data({CF_UNICODETEXT, static_cast<CLIPFORMAT>(Own), CF_HDROP});
    const TPoint Client = Form->ClientToScreen(TPoint{10, 20});
    const POINTL Point{Client.X, Client.Y};
    DWORD Effect = 0xFF;
    EXPECT_EQ(Target.DragEnter(&Data, MK_LBUTTON | MK_CONTROL, Point, &Effect), S_OK);
    EXPECT_EQ(Effect, DWORD{DROPEFFECT_MOVE});
    EXPECT_EQ(Target.FormatNames().Text(), L"UNICODETEXT\r\nQrv Test Format\r\nHDROP\r\n");
    EXPECT_GT(Data.Refs, 1u); // the drag object holds the data
    Answer = dtNone;          // the system shows the no-drop cursor
    EXPECT_EQ(Target.DragOver(MK_LBUTTON, Point, &Effect), S_OK);
    EXPECT_EQ(Effect, DWORD{DROPEFFECT_NONE});
    EXPECT_EQ(Target.Drop(&Data, MK_LBUTTON, Point, &Effect), S_OK);
    EXPECT_EQ(Effect, DWORD{DROPEFFECT_COPY});
    EXPECT_EQ(Target.DragSource(), nullptr);
    EXPECT_EQ(Target.FormatNames().Count(), 0);
    EXPECT_EQ(Data.Refs, 1u);
    EXPECT_EQ(Events, (std::vector<std::string>{"drag 0 10,20 ctrl source", "drag 2 10,20 source",
                                                "drop 10,20 source"}));
    Events.clear();
    Target.DragEnter(&Data, MK_LBUTTON, Point, &Effect);
    Target.DragLeave();
    EXPECT_EQ(Events.back(), "drag 1 -1,-1 source");
    EXPECT_EQ(Target.DragSource(), nullptr);
}

TEST_F(CvDropTargetTest, RegistrationFollowsTheWindowAndADoubleOneRaises) {
    auto* Panel = new TCustomControl(Form);
    Panel->SetBounds(0, 0, 50, 50);
    TCvDropTarget First(nullptr);
    First.SetTarget(Panel); // no window yet: nothing to register
    Panel->SetParent(Form);
    const HWND Wnd = Panel->Handle();
    // Registered after creation: a second registration of the window is refused.
    TCvDropTarget Second(nullptr);
    try {
        Second.SetTarget(Panel);
        FAIL() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), L"RegisterDragDrop failed, already registered");
    }
    EXPECT_EQ(RegisterDragDrop(Wnd, &First), DRAGDROP_E_ALREADYREGISTERED);
    // A new window for the control is registered again, and the old one was let go first.
    Panel->RecreateWnd();
    EXPECT_EQ(RegisterDragDrop(Panel->Handle(), &First), DRAGDROP_E_ALREADYREGISTERED);
    First.SetTarget(nullptr);
    EXPECT_EQ(RegisterDragDrop(Panel->Handle(), &First), S_OK);
    RevokeDragDrop(Panel->Handle());
}

namespace {

// The references the system holds on the target: its own one is 1.
ULONG References(TCvDropTarget& Target) {
    Target.AddRef();
    return Target.Release();
}

} // namespace

TEST_F(CvDropTargetTest, ARegistrationGoesWithEveryWindowItWasMadeFor) {
    struct TCase {
        const char* Name;
        std::function<TWinControl*(TForm&)> Make;
    };
    const TCase Cases[] = {
        {"a window of the library's class", [](TForm& F) { return new TCustomControl(&F); }},
        {"a window of the system's class", [](TForm& F) { return new TEdit(&F); }},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TCvDropTarget Target(nullptr);
        for (int Round = 0; Round < 3; ++Round) {
            // Set before the window exists: registered when it is made.
            TWinControl* Control = Case.Make(*Form);
            Control->SetBounds(0, 0, 60, 30);
            Target.SetTarget(Control);
            Control->SetParent(Form);
            EXPECT_EQ(RegisterDragDrop(Control->Handle(), &Target), DRAGDROP_E_ALREADYREGISTERED);
            const ULONG Registered = References(Target);
            EXPECT_GT(Registered, 1u);
            // Made again: the old window's registration goes, the new one is registered.
            Control->RecreateWnd();
            EXPECT_EQ(References(Target), Registered);
            // Made again with its parent's window.
            Form->RecreateWnd();
            EXPECT_EQ(RegisterDragDrop(Control->Handle(), &Target), DRAGDROP_E_ALREADYREGISTERED);
            EXPECT_EQ(References(Target), Registered);
            // Deleted: nothing of the registration is left.
            delete Control;
            EXPECT_EQ(Target.Target(), nullptr);
            EXPECT_EQ(References(Target), 1u);
        }
    }
}
