// Records are kept in the order they were added: the cursor walks SQLite's rowid, which grows
// with every insert. Date-times are stored as REAL, the TDateTime double itself, so they read
// back bit for bit. Text is stored as SQLite text (UTF-8 on disk, UTF-16 in and out).

#include "classlib/db/DBTables.h"
#include "classlib/db/DBTablesConnection.h"

#include <climits>

namespace {

const wchar_t* const NotEditing = L"Dataset not in edit or insert mode";
const wchar_t* const EmptyDataSet = L"Cannot perform this operation on an empty dataset";

const wchar_t* const AfterKey = L"rowid > ?1 ORDER BY rowid LIMIT 1";
const wchar_t* const BeforeKey = L"rowid < ?1 ORDER BY rowid DESC LIMIT 1";
const wchar_t* const AtKey = L"rowid = ?1";

const wchar_t* ColumnType(TFieldType Type) {
    switch (Type) {
    case ftInteger:
        return L" INTEGER";
    case ftDateTime:
        return L" REAL";
    case ftString:
        break;
    }
    return L" TEXT";
}

} // namespace

// ---- TField ----

TField::TField(TTable& Table, TFieldDef Def, bool ReadOnly)
    : m_Table(Table), m_Def(std::move(Def)), m_ReadOnly(ReadOnly) {}

void TField::AccessError(const wchar_t* TypeName) const {
    throw EDatabaseError(L"Cannot access field '" + m_Def.Name + L"' as type " + TypeName);
}

void TField::Assign(TValue Value) {
    m_Table.CheckEditing();
    if (m_ReadOnly)
        throw EDatabaseError(L"Field '" + m_Def.Name + L"' cannot be modified");
    m_Value = std::move(Value);
    m_Table.m_Modified = true;
}

String TField::AsString() const {
    if (const auto* Text = std::get_if<String>(&m_Value))
        return *Text;
    if (const auto* Number = std::get_if<int64_t>(&m_Value))
        return IntToStr(*Number);
    if (const auto* Moment = std::get_if<double>(&m_Value))
        return DateTimeToStr(*Moment);
    return String();
}

void TField::SetAsString(const String& Value) {
    switch (m_Def.DataType) {
    case ftString:
        return Assign(Value);
    case ftInteger:
        return Value.empty() ? Assign(std::monostate()) : Assign(int64_t{StrToInt(Value)});
    case ftDateTime:
        return Value.empty() ? Assign(std::monostate()) : Assign(StrToDateTime(Value));
    }
}

TDateTime TField::AsDateTime() const {
    switch (m_Def.DataType) {
    case ftDateTime:
        break;
    case ftString:
        return std::holds_alternative<String>(m_Value) ? StrToDateTime(std::get<String>(m_Value))
                                                       : 0;
    case ftInteger:
        AccessError(L"DateTime");
    }
    const auto* Moment = std::get_if<double>(&m_Value);
    return Moment ? *Moment : 0;
}

void TField::SetAsDateTime(TDateTime Value) {
    switch (m_Def.DataType) {
    case ftDateTime:
        return Assign(Value);
    case ftString:
        return Assign(DateTimeToStr(Value));
    case ftInteger:
        AccessError(L"DateTime");
    }
}

int64_t TField::AsInteger() const {
    switch (m_Def.DataType) {
    case ftInteger:
        break;
    case ftString:
        return std::holds_alternative<String>(m_Value) ? StrToInt(std::get<String>(m_Value)) : 0;
    case ftDateTime:
        AccessError(L"Integer");
    }
    const auto* Number = std::get_if<int64_t>(&m_Value);
    return Number ? *Number : 0;
}

void TField::SetAsInteger(int64_t Value) {
    switch (m_Def.DataType) {
    case ftInteger:
        return Assign(Value);
    case ftString:
        return Assign(IntToStr(Value));
    case ftDateTime:
        AccessError(L"Integer");
    }
}

// ---- TTable ----

TTable::TTable(TComponent* Owner) : TComponent(Owner) {}

TTable::~TTable() {
    Close();
}

void TTable::SetDatabaseName(const String& Value) {
    CheckInactive();
    m_DatabaseName = Value;
}

void TTable::SetTableName(const String& Value) {
    CheckInactive();
    m_TableName = Value;
}

void TTable::SetFieldDefs(std::vector<TFieldDef> Value) {
    CheckInactive();
    m_FieldDefs = std::move(Value);
}

void TTable::CheckActive() const {
    if (!Active())
        throw EDatabaseError(L"Cannot perform this operation on a closed dataset");
}

void TTable::CheckInactive() const {
    if (Active())
        throw EDatabaseError(L"Cannot perform this operation on an open dataset");
}

void TTable::CheckEditing() const {
    if (!Editing())
        throw EDatabaseError(NotEditing);
}

void TTable::CheckBrowseMode() {
    if (!Editing())
        return;
    if (m_Modified)
        Post();
    else
        Cancel();
}

void TTable::ValidateDefinition() const {
    if (m_TableName.empty())
        throw EDatabaseError(L"No table name given");
    if (m_DatabaseName.empty())
        throw EDatabaseError(L"No database folder given for table '" + m_TableName + L"'");
    if (m_FieldDefs.empty())
        throw EDatabaseError(L"Table '" + m_TableName + L"' has no fields");
    std::vector<String> Names{AutoIncFieldName};
    for (const TFieldDef& Def : m_FieldDefs) {
        for (const String& Name : Names)
            if (Def.Name.empty() || SameText(Name, Def.Name))
                throw EDatabaseError(L"Field '" + Def.Name + L"' of table '" + m_TableName +
                                     L"' is not a valid new field name");
        Names.push_back(Def.Name);
    }
}

void TTable::Open() {
    if (Active())
        return;
    ValidateDefinition();
    try {
        m_Connection = TDatabaseConnection::Acquire(m_DatabaseName);
        PrepareTable();
        BuildFields();
        m_State = dsBrowse;
        First();
    } catch (const EDatabaseError& E) {
        Close();
        throw EDatabaseError(L"Cannot open table '" + m_TableName + L"': " + E.Message());
    } catch (...) {
        Close();
        throw;
    }
}

bool TTable::TableExists() const {
    TStatement Query =
        m_Connection->Prepare(L"SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    Query.BindText(1, m_TableName);
    return Query.Step();
}

void TTable::PrepareTable() {
    m_CreatedByOpen = !TableExists();
    String Columns = QuoteIdentifier(AutoIncFieldName) + L" INTEGER PRIMARY KEY AUTOINCREMENT";
    for (const TFieldDef& Def : m_FieldDefs)
        Columns += L", " + QuoteIdentifier(Def.Name) + ColumnType(Def.DataType);
    m_Connection->Execute(L"CREATE TABLE IF NOT EXISTS " + QuoteIdentifier(m_TableName) + L" (" +
                          Columns + L")");
}

void TTable::BuildFields() {
    m_Fields.push_back(
        std::make_unique<TField>(*this, TFieldDef{AutoIncFieldName, ftInteger}, true));
    String Columns = L"rowid";
    for (const TFieldDef& Def : m_FieldDefs) {
        m_Fields.push_back(std::make_unique<TField>(*this, Def, false));
        Columns += L", " + QuoteIdentifier(Def.Name);
    }
    m_SelectPrefix = L"SELECT " + Columns + L" FROM " + QuoteIdentifier(m_TableName) + L" WHERE ";
}

void TTable::Close() {
    m_State = dsInactive;
    m_Fields.clear();
    m_Connection.reset();
    m_Modified = false;
    m_HasRecord = false;
    m_Bof = m_Eof = true;
}

void TTable::SetActive(bool Value) {
    if (Value)
        Open();
    else
        Close();
}

bool TTable::Fetch(const wchar_t* Condition, int64_t Key) {
    TStatement Query = m_Connection->Prepare(m_SelectPrefix + Condition);
    Query.BindInteger(1, Key);
    if (!Query.Step())
        return false;
    m_RecordId = Query.ColumnInteger(0);
    m_HasRecord = true;
    for (size_t Index = 0; Index < m_Fields.size(); ++Index) {
        const int Column = static_cast<int>(Index);
        TField::TValue& Value = m_Fields[Index]->m_Value;
        if (Query.ColumnIsNull(Column))
            Value = std::monostate();
        else if (m_Fields[Index]->DataType() == ftInteger)
            Value = Query.ColumnInteger(Column);
        else if (m_Fields[Index]->DataType() == ftDateTime)
            Value = Query.ColumnFloat(Column);
        else
            Value = Query.ColumnText(Column);
    }
    return true;
}

void TTable::ClearValues() {
    for (auto& Field : m_Fields)
        Field->m_Value = std::monostate();
}

void TTable::First() {
    CheckActive();
    CheckBrowseMode();
    if (!Fetch(AfterKey, INT64_MIN)) {
        m_HasRecord = false;
        ClearValues();
    }
    m_Bof = true;
    m_Eof = !m_HasRecord;
}

void TTable::Next() {
    CheckActive();
    CheckBrowseMode();
    if (m_Eof)
        return;
    if (Fetch(AfterKey, m_RecordId))
        m_Bof = false;
    else
        m_Eof = true;
}

void TTable::Prior() {
    CheckActive();
    CheckBrowseMode();
    if (m_Bof)
        return;
    if (Fetch(BeforeKey, m_RecordId))
        m_Eof = false;
    else
        m_Bof = true;
}

int64_t TTable::MoveBy(int64_t Distance) {
    int64_t Moved = 0;
    while (Moved < Distance) {
        Next();
        if (m_Eof)
            break;
        ++Moved;
    }
    while (Moved > Distance) {
        Prior();
        if (m_Bof)
            break;
        --Moved;
    }
    return Moved;
}

int64_t TTable::RecordCount() const {
    CheckActive();
    TStatement Query =
        m_Connection->Prepare(L"SELECT count(*) FROM " + QuoteIdentifier(m_TableName));
    Query.Step();
    return Query.ColumnInteger(0);
}

TField& TTable::FieldByName(const String& Name) {
    CheckActive();
    for (auto& Field : m_Fields)
        if (SameText(Field->FieldName(), Name))
            return *Field;
    throw EDatabaseError(L"Field '" + Name + L"' not found");
}

void TTable::Append() {
    CheckActive();
    CheckBrowseMode();
    ClearValues();
    m_State = dsInsert;
    m_Modified = false;
}

void TTable::Edit() {
    CheckActive();
    if (Editing())
        return;
    if (!m_HasRecord)
        throw EDatabaseError(EmptyDataSet);
    // Another table component may have changed or removed the record meanwhile.
    if (!Fetch(AtKey, m_RecordId))
        throw EDatabaseError(L"Record not found in table '" + m_TableName + L"'");
    m_State = dsEdit;
    m_Modified = false;
}

void TTable::Post() {
    CheckActive();
    CheckEditing();
    if (m_State == dsInsert)
        PostInsert();
    else
        PostEdit();
    m_State = dsBrowse;
    m_Modified = false;
}

void TTable::PostInsert() {
    String Names, Places;
    for (size_t Index = 1; Index < m_Fields.size(); ++Index) {
        Names += (Index > 1 ? L", " : L"") + QuoteIdentifier(m_Fields[Index]->FieldName());
        Places += (Index > 1 ? L", ?" : L"?") + IntToStr(static_cast<int64_t>(Index));
    }
    TStatement Insert = m_Connection->Prepare(L"INSERT INTO " + QuoteIdentifier(m_TableName) +
                                              L" (" + Names + L") VALUES (" + Places + L")");
    BindValues(Insert);
    Insert.Step();
    Fetch(AtKey, m_Connection->LastInsertId());
    m_Bof = m_Eof = false;
}

void TTable::PostEdit() {
    String Assignments;
    for (size_t Index = 1; Index < m_Fields.size(); ++Index)
        Assignments += (Index > 1 ? L", " : L"") + QuoteIdentifier(m_Fields[Index]->FieldName()) +
                       L" = ?" + IntToStr(static_cast<int64_t>(Index));
    TStatement Update = m_Connection->Prepare(L"UPDATE " + QuoteIdentifier(m_TableName) + L" SET " +
                                              Assignments + L" WHERE rowid = ?" +
                                              IntToStr(static_cast<int64_t>(m_Fields.size())));
    BindValues(Update);
    Update.BindInteger(static_cast<int>(m_Fields.size()), m_RecordId);
    Update.Step();
    if (m_Connection->Changes() == 0)
        throw EDatabaseError(L"Record not found in table '" + m_TableName + L"'");
}

// Binds the program's fields to parameters 1..n, in definition order.
void TTable::BindValues(TStatement& Statement) const {
    for (size_t Index = 1; Index < m_Fields.size(); ++Index) {
        const int Parameter = static_cast<int>(Index);
        const TField::TValue& Value = m_Fields[Index]->m_Value;
        if (const auto* Number = std::get_if<int64_t>(&Value))
            Statement.BindInteger(Parameter, *Number);
        else if (const auto* Moment = std::get_if<double>(&Value))
            Statement.BindFloat(Parameter, *Moment);
        else if (const auto* Text = std::get_if<String>(&Value))
            Statement.BindText(Parameter, *Text);
        else
            Statement.BindNull(Parameter);
    }
}

void TTable::Cancel() {
    CheckActive();
    if (!Editing())
        return;
    m_State = dsBrowse;
    m_Modified = false;
    if (!m_HasRecord || !Fetch(AtKey, m_RecordId))
        ClearValues();
}

void TTable::Delete() {
    CheckActive();
    if (m_State == dsInsert)
        return Cancel();
    if (!m_HasRecord)
        throw EDatabaseError(EmptyDataSet);
    TStatement Remove =
        m_Connection->Prepare(L"DELETE FROM " + QuoteIdentifier(m_TableName) + L" WHERE " + AtKey);
    Remove.BindInteger(1, m_RecordId);
    Remove.Step();
    m_State = dsBrowse;
    m_Modified = false;
    const int64_t Deleted = m_RecordId;
    m_Bof = false;
    if (Fetch(AfterKey, Deleted)) {
        m_Eof = false;
    } else if (Fetch(BeforeKey, Deleted)) {
        m_Eof = true;
    } else {
        m_HasRecord = false;
        ClearValues();
        m_Bof = m_Eof = true;
    }
}
