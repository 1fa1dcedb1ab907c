// Start-up pieces both programs share: the program folder, the one-instance rule, the language
// named by the configuration file, and the configuration write test.
#pragma once

#include "classlib/rtl/SysUtils.h"

#include <functional>
#include <string_view>
#include <memory>
#include <type_traits>
#include <vector>

class TApplication;

// The program's folder with a trailing backslash. Set first thing at start-up, before any
// window exists; every path of the program folder is AppDir followed by a relative part.
extern String AppDir;

// The frame of a program entry: sets AppDir from the running program, runs Program, and shows an
// error that escaped it in a plain message box titled Title. The exit code is Program's, or 1
// after such an error.
int RunProgramEntry(const String& Title, const std::function<int()>& Program);

// The parameters of the running program (without the program itself).
std::vector<String> ProgramParams();

// AppDir + "qv.ini".
String ConfigFileName();

// Loads into AppLanguage the language that "General" "Lang" of IniFileName names ("english"
// when the file or the key is missing, or the name is not a plain file name).
void LoadAppLanguage(const String& IniFileName);

// Whether Text reads as an ini file: each line blank, a comment, a [section] or a name=value
// pair, with no control character but tabs.
bool IsIniText(std::wstring_view Text);
// Refuses a start over files it would misread: a configuration file IniFileName that is not ini
// text, or a language file that is missing or not ini text. Throws Exception with a message in
// words naming the file; nothing is written. A configuration file that cannot be read at all is
// left to the defaults.
void CheckStartFiles(const String& IniFileName);

// Proves IniFileName writable by writing "Report" "Test" = "" and deleting it again. A failure
// is ignored: start-up goes on with a configuration it may not be able to save.
void ConfigWriteTest(const String& IniFileName);

// The program path, case-folded, with its backslashes replaced: the same for every start of one
// program copy, however its path was spelled.
String InstanceKey(const String& ExePath);

// One running instance per program path. The first instance holds a named mutex for its life
// and marks its application window; a later start finds that window and asks the first instance
// to restore itself and come to the foreground.
class TSingleInstance {
public:
    explicit TSingleInstance(const String& ExePath);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    bool AlreadyRunning() const { return FAlreadyRunning; }
    // A later start: asks the running instance to come forward. False when its window could
    // not be found (it may still be starting).
    bool ActivateRunningInstance() const;
    // The first instance: marks App's window and answers the requests of later starts.
    void Serve(TApplication& App) const;

private:
    String FKey;
    TOwnedHandle FMutex;
    bool FAlreadyRunning = false;
};
