#pragma once
// Read access to a dBase table through shapelib: records in table order,
// deleted records told apart, field values by name without regard to case,
// a field the table does not have read as Null.

#include <QString>
#include <QStringList>
#include <optional>

#include <shapefil.h>

namespace tav {

class DbfTable {
public:
    DbfTable() = default;
    ~DbfTable();
    DbfTable(const DbfTable &) = delete;
    DbfTable &operator=(const DbfTable &) = delete;

    // Opens `table` (with or without ".dbf") in `dir`, names matched without
    // regard to case. False when the file is missing or not a dBase table,
    // or when the file is too short for the records its header counts (then
    // damage() says so).
    bool open(const QString &dir, const QString &table);
    // Why the last open() refused a table that exists, in words; empty when
    // it did not.
    QString damage() const { return m_damage; }
    void close();
    bool isOpen() const { return m_h != nullptr; }

    int recordCount() const;
    bool isDeleted(int record) const;
    // False when the record's bytes cannot be read (the file shrank or failed).
    bool readable(int record) const;
    // The field number of a name (-1 when the table has no such field).
    int field(const QString &name) const;
    // A field's text, control characters (line breaks, tabs) as blanks and
    // blanks at both ends removed; nullopt for a Null value or a field
    // number of -1.
    std::optional<QString> value(int record, int field) const;

private:
    DBFHandle m_h = nullptr;
    QString m_damage;
};

} // namespace tav
