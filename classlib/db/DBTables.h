#pragma once
// Tables of the program's embedded database: one SQLite file per data folder, navigated and
// edited record by record the way the feature code walks its tables.

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

// The one file that holds every table of a data folder.
inline constexpr wchar_t DatabaseFileName[] = L"qrv.db";

// Every table carries this automatic record number; it is read-only.
inline constexpr wchar_t AutoIncFieldName[] = L"ID";

class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

enum TFieldType { ftString, ftInteger, ftDateTime };

struct TFieldDef {
    String Name;
    TFieldType DataType = ftString;
};

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TTable;
class TDatabaseConnection;
class TStatement;

class TField {
public:
    TField(TTable& Table, TFieldDef Def, bool ReadOnly);

    const String& FieldName() const { return m_Def.Name; }
    TFieldType DataType() const { return m_Def.DataType; }

    // A field without a value reads as "", 0 and 0.0.
    String AsString() const;
    void SetAsString(const String& Value);
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime Value);
    int64_t AsInteger() const;
    void SetAsInteger(int64_t Value);

private:
    friend class TTable;
    using TValue = std::variant<std::monostate, int64_t, double, String>;

    void Assign(TValue Value);
    [[noreturn]] void AccessError(const wchar_t* TypeName) const;

    TTable& m_Table;
    TFieldDef m_Def;
    bool m_ReadOnly;
    TValue m_Value;
};

class TTable : public TComponent {
public:
    explicit TTable(TComponent* Owner);
    ~TTable() override;

    // The folder that holds the database file.
    const String& DatabaseName() const { return m_DatabaseName; }
    void SetDatabaseName(const String& Value);
    const String& TableName() const { return m_TableName; }
    void SetTableName(const String& Value);
    const std::vector<TFieldDef>& FieldDefs() const { return m_FieldDefs; }
    void SetFieldDefs(std::vector<TFieldDef> Value);

    // Creates the table when the database does not have it yet.
    void Open();
    // True when the last Open made the table, so the program may put its first records in.
    bool CreatedByOpen() const { return m_CreatedByOpen; }
    // Pending changes of an edited or appended record are discarded.
    void Close();
    bool Active() const { return m_State != dsInactive; }
    void SetActive(bool Value);
    TDataSetState State() const { return m_State; }

    // Moving posts a modified record first, as leaving a record does in a dataset.
    void First();
    void Next();
    void Prior();
    int64_t MoveBy(int64_t Distance);
    bool Eof() const { return m_Eof; }
    bool Bof() const { return m_Bof; }
    int64_t RecordCount() const;

    TField& FieldByName(const String& Name);

    void Append();
    void Edit();
    void Post();
    void Cancel();
    // Leaves the cursor on the following record, or at Eof when none follows.
    void Delete();

private:
    friend class TField;

    bool Editing() const { return m_State == dsEdit || m_State == dsInsert; }
    void CheckActive() const;
    void CheckInactive() const;
    void CheckEditing() const;
    void CheckBrowseMode();
    void ValidateDefinition() const;
    void PrepareTable();
    bool TableExists() const;
    void BuildFields();
    bool Fetch(const wchar_t* Condition, int64_t Key);
    void ClearValues();
    void PostInsert();
    void PostEdit();
    void BindValues(TStatement& Statement) const;

    String m_DatabaseName;
    String m_TableName;
    std::vector<TFieldDef> m_FieldDefs;
    std::shared_ptr<TDatabaseConnection> m_Connection;
    std::vector<std::unique_ptr<TField>> m_Fields; // [0] is the automatic ID
    String m_SelectPrefix;
    TDataSetState m_State = dsInactive;
    bool m_Modified = false;
    bool m_HasRecord = false;
    int64_t m_RecordId = 0;
    bool m_Bof = true;
    bool m_Eof = true;
    bool m_CreatedByOpen = false;
};
