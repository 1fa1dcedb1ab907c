#pragma once
// A program folder in a temp folder with the ten tables open in its Data folder.

#include "main/DataTables.h"
#include "tests/support/TempFolder.h"

struct TTablesFixture {
    TTempFolder App;
    TComponent Owner{nullptr};
    TDataTables Tables;

    TTablesFixture() {
        App.AddFolder(L"Data");
        App.AddFolder(L"Temp");
        Tables = CreateDataTables(&Owner, App.Path());
        Tables.OpenAll();
    }

    static int64_t Count(TTable& Table) { return Table.RecordCount(); }
};

// The times of a file: last write.
inline FILETIME WriteTimeOf(const String& FileName) {
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    GetFileAttributesExW(FileName.c_str(), GetFileExInfoStandard, &Data);
    return Data.ftLastWriteTime;
}

inline bool SameTime(const FILETIME& A, const FILETIME& B) {
    return A.dwLowDateTime == B.dwLowDateTime && A.dwHighDateTime == B.dwHighDateTime;
}
