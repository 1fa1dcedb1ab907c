#pragma once
// A test key under HKCU\Software\QrvTest, emptied before and removed after each test.

#include "classlib/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <vector>

#include "classlib/rtl/WinApi.h"

class TTestKey {
public:
    explicit TTestKey(const String& Name) : FPath(L"Software\\QrvTest\\" + Name) { Remove(); }
    ~TTestKey() {
        Remove();
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QrvTest");
    }
    TTestKey(const TTestKey&) = delete;
    TTestKey& operator=(const TTestKey&) = delete;

    // The key below HKCU, without a leading backslash.
    const String& Path() const { return FPath; }
    // A key below this one ("" for this one).
    String Sub(const String& Relative) const {
        return Relative.empty() ? FPath : FPath + L"\\" + Relative;
    }

    void SetString(const String& Relative, const String& Name, const String& Text,
                   DWORD Type = REG_SZ) const {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Sub(Relative).c_str(), Name.c_str(), Type,
                                  Text.c_str(), static_cast<DWORD>((Text.size() + 1) * 2)),
                  ERROR_SUCCESS);
    }
    void SetDword(const String& Relative, const String& Name, DWORD Value) const {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Sub(Relative).c_str(), Name.c_str(), REG_DWORD,
                                  &Value, sizeof Value),
                  ERROR_SUCCESS);
    }
    void AddKey(const String& Relative) const {
        HKEY Key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Sub(Relative).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &Key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(Key);
    }

    bool KeyExists(const String& Relative) const {
        HKEY Key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Sub(Relative).c_str(), 0, KEY_READ, &Key) !=
            ERROR_SUCCESS)
            return false;
        RegCloseKey(Key);
        return true;
    }
    bool ValueExists(const String& Relative, const String& Name) const {
        return RegGetValueW(HKEY_CURRENT_USER, Sub(Relative).c_str(), Name.c_str(), RRF_RT_ANY,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
    std::vector<String> ValueNames(const String& Relative) const {
        std::vector<String> Names;
        HKEY Key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Sub(Relative).c_str(), 0, KEY_READ, &Key) !=
            ERROR_SUCCESS)
            return Names;
        wchar_t Name[256];
        for (DWORD I = 0;; ++I) {
            DWORD Length = 256;
            if (RegEnumValueW(Key, I, Name, &Length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            Names.push_back(Name);
        }
        RegCloseKey(Key);
        return Names;
    }

private:
    void Remove() const {
        RegDeleteTreeW(HKEY_CURRENT_USER, FPath.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, FPath.c_str());
    }

    String FPath;
};
