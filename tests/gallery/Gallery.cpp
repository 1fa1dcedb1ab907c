// The gallery: a window per page, for looking at the controls rather than testing them.
//
// Adding a page is one file: tests/gallery/<Name>Page.cpp with a function that fills a form,
// registered by a TGalleryPage at namespace scope:
//
//     #include "tests/gallery/Gallery.h"

#include "classlib/gui/StdCtrls.h"
//     namespace {
//     void Build(TForm& Form) { Form.SetClientWidth(400); ... new TMyControl(&Form) ... }
//     const TGalleryPage Page(L"mypage", &Build);
//     }
//
// The build picks the file up (tests/gallery/*.cpp), and the gallery test saves the page's
// picture as build/screenshots/gallery-<name>.png.
//
// Usage: gallery.exe                     every page, one window each, until they are closed
//        gallery.exe --list              the page names, one a line
//        gallery.exe PAGE [--shot FILE]  one page; with --shot, saves the window as a BMP and ends
#include "tests/gallery/Gallery.h"

#include <cstdio>
#include <map>
#include <vector>

namespace {

std::map<String, TGalleryBuild>& Pages() {
    static std::map<String, TGalleryBuild> Registered;
    return Registered;
}

TForm* ShowPage(TApplication& App, const String& Name, TGalleryBuild Build) {
    TForm* Form = App.CreateForm<TForm>();
    Form->SetCaption(L"Gallery - " + Name);
    Form->SetBorderStyle(bsSingle);
    Form->SetBounds(8, 8, 480, 360);
    Build(*Form);
    Form->Show();
    return Form;
}

// Handles messages until the window has painted everything and some time has passed.
void WaitUntilPainted(TApplication& App, HWND Window) {
    const ULONGLONG End = GetTickCount64() + 3000;
    const ULONGLONG Settle = GetTickCount64() + 500;
    while (GetTickCount64() < End) {
        App.ProcessMessages();
        if (GetTickCount64() > Settle && !GetUpdateRect(Window, nullptr, FALSE))
            return;
        Sleep(20);
    }
}

// The window as it stands on the screen, frame included, as a 24-bit BMP.
bool SaveWindowShot(HWND Window, const String& FileName) {
    RECT Area{};
    GetWindowRect(Window, &Area);
    const int Width = Area.right - Area.left;
    const int Height = Area.bottom - Area.top;
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof Info.bmiHeader;
    Info.bmiHeader.biWidth = Width;
    Info.bmiHeader.biHeight = Height; // bottom-up, as the file stores it
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 24;
    void* Bits = nullptr;
    const TClientDC Screen(nullptr);
    const TMemoryDC Memory(Screen.Handle());
    const TBitmapObject Bitmap(
        CreateDIBSection(Memory.Handle(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
    if (!Bitmap)
        return false;
    {
        const TSelectObject Selected(Memory.Handle(), Bitmap.Get());
        BitBlt(Memory.Handle(), 0, 0, Width, Height, Screen.Handle(), Area.left, Area.top, SRCCOPY);
        GdiFlush();
    }
    const DWORD Stride = (static_cast<DWORD>(Width) * 3 + 3) & ~3u;
    const DWORD ImageSize = Stride * static_cast<DWORD>(Height);
    BITMAPFILEHEADER Header{};
    Header.bfType = 0x4D42; // "BM"
    Header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    Header.bfSize = Header.bfOffBits + ImageSize;
    Info.bmiHeader.biSizeImage = ImageSize;
    FILE* File = _wfopen(FileName.c_str(), L"wb");
    if (!File)
        return false;
    const bool Written = fwrite(&Header, sizeof Header, 1, File) == 1 &&
                         fwrite(&Info.bmiHeader, sizeof Info.bmiHeader, 1, File) == 1 &&
                         fwrite(Bits, ImageSize, 1, File) == 1;
    return fclose(File) == 0 && Written;
}

int Run(const std::vector<String>& Args) {
    if (Args.size() == 1 && Args[0] == L"--list") {
        for (const auto& [Name, Build] : Pages())
            std::printf("%s\n", ToUtf8(Name).c_str());
        return 0;
    }
    TApplication App;
    App.SetTitle(L"Gallery");
    if (Args.empty()) {
        for (const auto& [Name, Build] : Pages())
            ShowPage(App, Name, Build);
        App.Run();
        return 0;
    }
    const auto Page = Pages().find(Args[0]);
    if (Page == Pages().end()) {
        std::fprintf(stderr, "no page '%s'\n", ToUtf8(Args[0]).c_str());
        return 2;
    }
    TForm* Form = ShowPage(App, Page->first, Page->second);
    if (Args.size() == 3 && Args[1] == L"--shot") {
        WaitUntilPainted(App, Form->Handle());
        return SaveWindowShot(Form->Handle(), Args[2]) ? 0 : 1;
    }
    App.Run();
    return 0;
}

} // namespace

TGalleryPage::TGalleryPage(const wchar_t* Name, TGalleryBuild Build) {
    Pages()[Name] = Build;
}

TLabel* GalleryCaption(TWinControl& Parent, int Left, int Top, const String& Text) {
    return GalleryPut<TLabel>(Parent, Bounds(Left, Top, 120, 15), Text);
}

int wmain(int Argc, wchar_t** Argv) {
    try {
        return Run(std::vector<String>(Argv + 1, Argv + Argc));
    } catch (const Exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
        return 1;
    }
}
