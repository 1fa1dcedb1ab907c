// Owners of GDI objects and device contexts: one type per way of acquiring a handle, so each
// handle is released by the call that matches how it was obtained (a DC from GetDC must not
// go to DeleteDC, one from BeginPaint must go to EndPaint).
#pragma once

#include "classlib/rtl/WinApi.h"

#include <utility>

// An owned GDI object (font, brush, bitmap), deleted with DeleteObject. Move-only: a copy would
// delete the object twice. It must not die while its object is still selected into a DC.
template <class THandleType> class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(THandleType Handle) noexcept : FHandle(Handle) {}
    TGdiObject(TGdiObject&& Other) noexcept : FHandle(std::exchange(Other.FHandle, nullptr)) {}
    TGdiObject& operator=(TGdiObject&& Other) noexcept {
        if (this != &Other)
            Reset(std::exchange(Other.FHandle, nullptr));
        return *this;
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    ~TGdiObject() { Reset(); }

    THandleType Get() const noexcept { return FHandle; }
    // Gives the object up to a new owner (a window taking its region).
    THandleType Release() noexcept { return std::exchange(FHandle, nullptr); }
    explicit operator bool() const noexcept { return FHandle != nullptr; }
    void Reset(THandleType Handle = nullptr) noexcept {
        if (FHandle)
            DeleteObject(FHandle);
        FHandle = Handle;
    }

private:
    THandleType FHandle = nullptr;
};

using TFontObject = TGdiObject<HFONT>;
using TBrushObject = TGdiObject<HBRUSH>;
using TBitmapObject = TGdiObject<HBITMAP>;

// Selects an object into a DC for the life of the scope, then selects the previous one back.
class TSelectObject {
public:
    TSelectObject(HDC DC, HGDIOBJ Object) noexcept : FDC(DC), FOld(SelectObject(DC, Object)) {}
    ~TSelectObject() { SelectObject(FDC, FOld); }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// Saves the whole DC state (selected objects, clipping, origins, colours) for the life of the
// scope.
class TSaveDC {
public:
    explicit TSaveDC(HDC DC) noexcept : FDC(DC), FSaved(SaveDC(DC)) {}
    ~TSaveDC() { RestoreDC(FDC, FSaved); }
    TSaveDC(const TSaveDC&) = delete;
    TSaveDC& operator=(const TSaveDC&) = delete;

private:
    HDC FDC;
    int FSaved;
};

// BeginPaint / EndPaint.
class TPaintDC {
public:
    explicit TPaintDC(HWND Wnd) noexcept : FWnd(Wnd), FDC(BeginPaint(Wnd, &FPaint)) {}
    ~TPaintDC() { EndPaint(FWnd, &FPaint); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;

    HDC Handle() const noexcept { return FDC; }
    const RECT& PaintRect() const noexcept { return FPaint.rcPaint; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// GetDC / ReleaseDC; a null window gives the screen's DC. WholeWindow takes GetWindowDC's, which
// reaches the frame as well.
class TClientDC {
public:
    explicit TClientDC(HWND Wnd, bool WholeWindow = false) noexcept
        : FWnd(Wnd), FDC(WholeWindow ? GetWindowDC(Wnd) : GetDC(Wnd)) {}
    ~TClientDC() {
        if (FDC)
            ReleaseDC(FWnd, FDC);
    }
    TClientDC(const TClientDC&) = delete;
    TClientDC& operator=(const TClientDC&) = delete;

    HDC Handle() const noexcept { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// GetDCEx / ReleaseDC for a DC kept across messages (the inverted bar of a drag): empty until
// Acquire, released by Reset or at the end of its owner. Move-only.
class THeldDC {
public:
    THeldDC() = default;
    THeldDC(THeldDC&& Other) noexcept
        : FWnd(std::exchange(Other.FWnd, nullptr)), FDC(std::exchange(Other.FDC, nullptr)) {}
    THeldDC& operator=(THeldDC&& Other) noexcept {
        if (this != &Other) {
            Reset();
            FWnd = std::exchange(Other.FWnd, nullptr);
            FDC = std::exchange(Other.FDC, nullptr);
        }
        return *this;
    }
    THeldDC(const THeldDC&) = delete;
    THeldDC& operator=(const THeldDC&) = delete;
    ~THeldDC() { Reset(); }

    // Lets go of the DC held now and takes one of Wnd; false when the system gave none.
    bool Acquire(HWND Wnd, DWORD Flags) noexcept {
        Reset();
        FDC = GetDCEx(Wnd, nullptr, Flags);
        FWnd = FDC ? Wnd : nullptr;
        return FDC != nullptr;
    }
    void Reset() noexcept {
        if (FDC)
            ReleaseDC(FWnd, FDC);
        FDC = nullptr;
        FWnd = nullptr;
    }
    HDC Handle() const noexcept { return FDC; }
    explicit operator bool() const noexcept { return FDC != nullptr; }

private:
    HWND FWnd = nullptr;
    HDC FDC = nullptr;
};

// GetWindowDC / ReleaseDC: the whole window, frame included.
class TWindowDC {
public:
    explicit TWindowDC(HWND Wnd) noexcept : FWnd(Wnd), FDC(GetWindowDC(Wnd)) {}
    ~TWindowDC() {
        if (FDC)
            ReleaseDC(FWnd, FDC);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    HDC Handle() const noexcept { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// CreateCompatibleDC / DeleteDC. Move-only.
class TMemoryDC {
public:
    TMemoryDC() = default;
    explicit TMemoryDC(HDC Reference) noexcept : FDC(CreateCompatibleDC(Reference)) {}
    TMemoryDC(TMemoryDC&& Other) noexcept : FDC(std::exchange(Other.FDC, nullptr)) {}
    TMemoryDC& operator=(TMemoryDC&& Other) noexcept {
        if (this != &Other) {
            Reset();
            FDC = std::exchange(Other.FDC, nullptr);
        }
        return *this;
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    ~TMemoryDC() { Reset(); }

    HDC Handle() const noexcept { return FDC; }
    explicit operator bool() const noexcept { return FDC != nullptr; }

private:
    void Reset() noexcept {
        if (FDC)
            DeleteDC(FDC);
        FDC = nullptr;
    }
    HDC FDC = nullptr;
};
