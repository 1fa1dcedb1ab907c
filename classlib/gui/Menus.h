// Menus.
#pragma once

#include "classlib/rtl/WinApi.h"

#include <memory>
#include <type_traits>

// An owned menu handle, destroyed with DestroyMenu (with its submenus).
struct TMenuDestroyer {
    void operator()(HMENU Menu) const noexcept { DestroyMenu(Menu); }
};
using TOwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDestroyer>;
