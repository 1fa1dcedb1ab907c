#pragma once
// The SQLite connection that the tables of one data folder share, and its statements.

#include "classlib/db/DBTables.h"

#include <cstdint>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

class TStatement {
public:
    TStatement(sqlite3* Db, const String& Sql);

    void BindNull(int Index);
    void BindInteger(int Index, int64_t Value);
    void BindFloat(int Index, double Value);
    void BindText(int Index, const String& Value);

    // True while a row is available; throws EDatabaseError on failure.
    bool Step();

    bool ColumnIsNull(int Index) const;
    int64_t ColumnInteger(int Index) const;
    double ColumnFloat(int Index) const;
    String ColumnText(int Index) const;

private:
    void Check(int Result) const;

    struct TFinalizer {
        void operator()(sqlite3_stmt* Stmt) const;
    };
    sqlite3* m_Db;
    std::unique_ptr<sqlite3_stmt, TFinalizer> m_Stmt;
};

// One open database file. The tables of a folder hold it together; it closes with the last.
// Used from the window thread only.
class TDatabaseConnection {
public:
    // The connection of Folder's database file, opened (and the file created) when no table
    // holds it yet. A file that is not a sound database raises EDatabaseError and is left as it is.
    static std::shared_ptr<TDatabaseConnection> Acquire(const String& Folder);

    explicit TDatabaseConnection(const String& FileName);
    TDatabaseConnection(const TDatabaseConnection&) = delete;
    TDatabaseConnection& operator=(const TDatabaseConnection&) = delete;

    const String& FileName() const { return m_FileName; }

    TStatement Prepare(const String& Sql) const { return TStatement(m_Db.get(), Sql); }
    void Execute(const String& Sql) const;
    int64_t LastInsertId() const;
    int64_t Changes() const;

private:
    void CheckIntegrity() const;

    struct TCloser {
        void operator()(sqlite3* Db) const;
    };
    String m_FileName;
    std::unique_ptr<sqlite3, TCloser> m_Db;
};

// An SQL identifier in double quotes, so that names such as Date or Type stay names.
String QuoteIdentifier(const String& Name);
