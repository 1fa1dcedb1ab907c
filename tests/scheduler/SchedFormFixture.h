// The scheduler window of the in-process tests: its own program folder, settings file, clock,
// Run key and folder picker; the shell's notification-area calls are recorded.
#pragma once

#include "app/FlatForm.h"
#include "scheduler/MainForm.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

const wchar_t TestRunKey[] = L"Software\\QrvTest\\Run";
const wchar_t ExePath[] = L"C:\\Program Files\\QRV\\qrvsched.exe";

class TFixedClock : public IClock {
public:
    TDateTime Value = EncodeDate(2024, 6, 1) + EncodeTime(12, 0, 0, 0);
    TDateTime Now() const override { return Value; }
};

// The scheduler window in a program folder of its own, with a Run key of the test's own.
class SchedMainFormTest : public ::testing::Test {
protected:
    SchedMainFormTest() : System(Folder.Path() + L"Data\\") {
        SetNotifyIconCall([this](DWORD Message, const NOTIFYICONDATAW& Data) {
            ShellCalls.push_back(Message);
            ShellTip = Data.szTip;
            return true;
        });
        HKEY Key;
        RegCreateKeyExW(HKEY_CURRENT_USER, TestRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key,
                        nullptr);
        RegCloseKey(Key);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, TestRunKey, SchedRunValueName);
    }
    ~SchedMainFormTest() override {
        RegDeleteKeyW(HKEY_CURRENT_USER, TestRunKey);
        SetNotifyIconCall(nullptr);
    }

    TfrmSchedulerMain& Start(std::vector<String> Params = {}) {
        TSchedEnvironment Env;
        Env.ProgramFolder = Folder.Path();
        Env.ExePath = ExePath;
        Env.SettingsFile = IniFile();
        Env.RunKeyPath = TestRunKey;
        Env.Params = std::move(Params);
        Env.Clock = &Clock;
        Env.PickFolder = [this](HWND Owner, const String& Title, String& Picked) {
            PickerCalls.push_back({Owner, Title});
            if (!NextPick)
                return false;
            Picked = *NextPick;
            return true;
        };
        Env.Notice = [this](const String& Text) { Notices.push_back({Text, GetActiveWindow()}); };
        Form = App->CreateForm<TfrmSchedulerMain>(std::move(Env));
        return *Form;
    }
    // Ends the window as the program's end does: its destruction saves.
    void Destroy() {
        delete Form;
        Form = nullptr;
    }
    // A fresh application object, for a test that ends the program more than once; the window
    // of the old one goes with it.
    void NewApplication() {
        Form = nullptr;
        App.reset();
        App = std::make_unique<TApplication>();
    }
    String IniFile() const { return Folder.Path() + L"qvsched.ini"; }
    String Ini(const String& Section, const String& Key) const {
        return TIniFile(IniFile()).ReadString(Section, Key, L"<none>");
    }
    String RunValue() const {
        wchar_t Data[512] = {};
        DWORD Size = sizeof Data;
        if (RegGetValueW(HKEY_CURRENT_USER, TestRunKey, SchedRunValueName, RRF_RT_REG_SZ, nullptr,
                         Data, &Size) != ERROR_SUCCESS)
            return L"<none>";
        return Data;
    }
    LRESULT Send(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) {
        return SendMessageW(Form->Handle(), Msg, WParam, LParam);
    }

    // Rows of List as its texts, top level, in order; replaces what was there.
    static void SetRows(TCvTree& List, const std::vector<String>& Rows) {
        List.Items().RemoveAll();
        for (const String& Row : Rows)
            List.Items().AddChild(nullptr, Row);
    }

    TTempFolder Folder;
    TFlatFormSystem System;
    TFixedClock Clock;
    // What the folder picker returns next (nothing: Cancel), and how it was asked.
    std::optional<String> NextPick;
    struct TPickerCall {
        HWND Owner;
        String Title;
    };
    std::vector<TPickerCall> PickerCalls;
    // What the window told the user, and which window was active then.
    struct TNotice {
        String Text;
        HWND Active;
    };
    std::vector<TNotice> Notices;
    std::unique_ptr<TApplication> App = std::make_unique<TApplication>();
    TfrmSchedulerMain* Form = nullptr;
    std::vector<DWORD> ShellCalls;
    String ShellTip;
};
