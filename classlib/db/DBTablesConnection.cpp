#include "classlib/db/DBTablesConnection.h"

#include <sqlite3.h>

#include <map>

namespace {

String ErrorText(sqlite3* Db) {
    const void* Text = Db ? sqlite3_errmsg16(Db) : nullptr;
    return Text ? String(static_cast<const wchar_t*>(Text)) : String(L"out of memory");
}

int ByteLength(const String& Value) {
    return static_cast<int>(Value.size() * sizeof(wchar_t));
}

} // namespace

String QuoteIdentifier(const String& Name) {
    return L"\"" + StringReplace(Name, L"\"", L"\"\"", TReplaceFlags{rfReplaceAll}) + L"\"";
}

// ---- TStatement ----

void TStatement::TFinalizer::operator()(sqlite3_stmt* Stmt) const {
    sqlite3_finalize(Stmt);
}

TStatement::TStatement(sqlite3* Db, const String& Sql) : m_Db(Db) {
    sqlite3_stmt* Stmt = nullptr;
    Check(sqlite3_prepare16_v2(Db, Sql.c_str(), ByteLength(Sql), &Stmt, nullptr));
    m_Stmt.reset(Stmt);
}

void TStatement::Check(int Result) const {
    if (Result != SQLITE_OK)
        throw EDatabaseError(ErrorText(m_Db));
}

void TStatement::BindNull(int Index) {
    Check(sqlite3_bind_null(m_Stmt.get(), Index));
}

void TStatement::BindInteger(int Index, int64_t Value) {
    Check(sqlite3_bind_int64(m_Stmt.get(), Index, Value));
}

void TStatement::BindFloat(int Index, double Value) {
    Check(sqlite3_bind_double(m_Stmt.get(), Index, Value));
}

void TStatement::BindText(int Index, const String& Value) {
    Check(sqlite3_bind_text16(m_Stmt.get(), Index, Value.data(), ByteLength(Value),
                              SQLITE_TRANSIENT));
}

bool TStatement::Step() {
    switch (sqlite3_step(m_Stmt.get())) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        throw EDatabaseError(ErrorText(m_Db));
    }
}

bool TStatement::ColumnIsNull(int Index) const {
    return sqlite3_column_type(m_Stmt.get(), Index) == SQLITE_NULL;
}

int64_t TStatement::ColumnInteger(int Index) const {
    return sqlite3_column_int64(m_Stmt.get(), Index);
}

double TStatement::ColumnFloat(int Index) const {
    return sqlite3_column_double(m_Stmt.get(), Index);
}

String TStatement::ColumnText(int Index) const {
    const void* Text = sqlite3_column_text16(m_Stmt.get(), Index);
    if (!Text)
        return String();
    const int Bytes = sqlite3_column_bytes16(m_Stmt.get(), Index);
    return String(static_cast<const wchar_t*>(Text), Bytes / sizeof(wchar_t));
}

// ---- TDatabaseConnection ----

void TDatabaseConnection::TCloser::operator()(sqlite3* Db) const {
    sqlite3_close_v2(Db);
}

TDatabaseConnection::TDatabaseConnection(const String& FileName) : m_FileName(FileName) {
    sqlite3* Db = nullptr;
    const int Result = sqlite3_open16(FileName.c_str(), &Db);
    m_Db.reset(Db); // a failed open still hands out a handle to close
    if (Result != SQLITE_OK)
        throw EDatabaseError(L"Cannot open the database '" + FileName + L"': " + ErrorText(Db));
    sqlite3_busy_timeout(Db, 5000);
    // A quoted name that matches no column must be an error, never a string literal.
    sqlite3_db_config(Db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(Db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    CheckIntegrity();
}

// Reading a damaged file writes nothing, so the check keeps the user's file as it was; the
// program then stops with a message instead of building on bad data.
void TDatabaseConnection::CheckIntegrity() const {
    String Problem;
    try {
        TStatement Check = Prepare(L"PRAGMA quick_check");
        if (Check.Step() && Check.ColumnText(0) != L"ok")
            Problem = Check.ColumnText(0);
    } catch (const EDatabaseError& E) {
        Problem = E.Message();
    }
    if (!Problem.empty())
        throw EDatabaseError(L"The database '" + m_FileName + L"' is damaged: " + Problem);
}

std::shared_ptr<TDatabaseConnection> TDatabaseConnection::Acquire(const String& Folder) {
    static std::map<String, std::weak_ptr<TDatabaseConnection>> Open;
    const String Path = IncludeTrailingBackslash(ExpandFileName(Folder));
    const String Key = AnsiUpperCase(Path);
    if (auto Shared = Open[Key].lock())
        return Shared;
    std::erase_if(Open, [](const auto& Entry) { return Entry.second.expired(); });
    auto Connection = std::make_shared<TDatabaseConnection>(Path + DatabaseFileName);
    Open[Key] = Connection;
    return Connection;
}

void TDatabaseConnection::Execute(const String& Sql) const {
    TStatement Statement = Prepare(Sql);
    while (Statement.Step()) {
    }
}

int64_t TDatabaseConnection::LastInsertId() const {
    return sqlite3_last_insert_rowid(m_Db.get());
}

int64_t TDatabaseConnection::Changes() const {
    return sqlite3_changes64(m_Db.get());
}
