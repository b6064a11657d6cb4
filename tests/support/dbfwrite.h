#pragma once
// dBase tables for the station tests, written two ways: through shapelib's
// writer, and byte by byte from the dBase III layout, so that the program's
// reader is checked against a writer it shares no code with.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>
#include <shapefil.h>

namespace tavtest {

struct DbfField {
    const char *name;
    char type; // 'C' or 'N'
    int width, decimals;
};

// One record: the field values in field order (nullopt writes a Null) and the deletion mark.
struct DbfRow {
    QVector<std::optional<QByteArray>> values;
    bool deleted = false;
};

// The dBase III layout: a 32-byte header (version 3, date, record count,
// header and record length), 32 bytes per field, 0x0D, then the records
// (a deletion flag and the fields in fixed width; characters left aligned,
// numbers right aligned), and 0x1A at the end.
inline QByteArray dbaseIII(const QVector<DbfField> &fields, const QVector<DbfRow> &rows)
{
    auto le16 = [](QByteArray &b, int v) { b += char(v & 0xFF); b += char((v >> 8) & 0xFF); };
    auto le32 = [&](QByteArray &b, int v) { le16(b, v & 0xFFFF); le16(b, (v >> 16) & 0xFFFF); };
    int recordLength = 1;
    for (const DbfField &f : fields)
        recordLength += f.width;
    QByteArray b;
    b += char(0x03);
    b += char(126); // 2026
    b += char(12);
    b += char(9);
    le32(b, int(rows.size()));
    le16(b, 32 + 32 * int(fields.size()) + 1);
    le16(b, recordLength);
    b += QByteArray(20, '\0');
    for (const DbfField &f : fields) {
        QByteArray name(f.name);
        name = name.leftJustified(11, '\0', true);
        b += name;
        b += f.type;
        b += QByteArray(4, '\0');
        b += char(f.width);
        b += char(f.decimals);
        b += QByteArray(14, '\0');
    }
    b += char(0x0D);
    for (const DbfRow &r : rows) {
        b += r.deleted ? '*' : ' ';
        for (int i = 0; i < fields.size(); ++i) {
            const DbfField &f = fields[i];
            QByteArray v = i < r.values.size() && r.values[i] ? *r.values[i] : QByteArray();
            v = f.type == 'N' ? v.rightJustified(f.width, ' ', true) : v.leftJustified(f.width, ' ', true);
            b += v;
        }
    }
    b += char(0x1A);
    return b;
}

// The same through shapelib's writer; false when it failed.
inline bool shapelibTable(const QString &path, const QVector<DbfField> &fields, const QVector<DbfRow> &rows)
{
    DBFHandle h = DBFCreate(path.toLocal8Bit().constData());
    if (!h)
        return false;
    for (const DbfField &f : fields)
        if (DBFAddField(h, f.name, f.type == 'N' ? FTDouble : FTString, f.width, f.decimals) < 0)
            return false;
    for (int r = 0; r < rows.size(); ++r) {
        for (int i = 0; i < fields.size(); ++i) {
            const auto &v = i < rows[r].values.size() ? rows[r].values[i] : std::nullopt;
            if (!v)
                DBFWriteNULLAttribute(h, r, i);
            else
                DBFWriteAttributeDirectly(h, r, i, (void *)(fields[i].type == 'N'
                                                               ? v->rightJustified(fields[i].width, ' ', true)
                                                               : v->leftJustified(fields[i].width, ' ', true))
                                                         .constData());
        }
        if (rows[r].deleted)
            DBFMarkRecordDeleted(h, r, 1);
    }
    DBFClose(h);
    return true;
}

} // namespace tavtest
