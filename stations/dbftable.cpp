#include "stations/dbftable.h"

#include "core/numtext.h"
#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <shapefil.h>

namespace tav {

namespace {

// shapelib looks for "name.dbf" and "name.DBF" only; a table saved as
// "IlgSdata.Dbf" is found here by matching the name without regard to case.
SAFile openNoCase(const char *filename, const char *access)
{
    QString path = QFile::decodeName(filename);
    if (!QFileInfo::exists(path)) {
        const QFileInfo fi(path);
        if (auto real = findFileNoCase(fi.absolutePath() + QLatin1Char('/'), fi.fileName()))
            path = fi.absolutePath() + QLatin1Char('/') + *real;
    }
    return reinterpret_cast<SAFile>(std::fopen(QFile::encodeName(path).constData(), access));
}

void quietError(const char *) {}

} // namespace

DbfTable::~DbfTable() { close(); }

bool DbfTable::open(const QString &dir, const QString &table)
{
    close();
    m_damage.clear();
    QString name = table;
    if (!name.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive))
        name += QLatin1String(".dbf");
    QString d = dir;
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    const auto real = findFileNoCase(d, name);
    if (!real || !QFileInfo(d + *real).isFile())
        return false;
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = openNoCase;
    hooks.Error = quietError;
    m_h = DBFOpenLL(QFile::encodeName(d + *real).constData(), "rb", &hooks);
    if (!m_h)
        return false;
    // The header's record count is believed only as far as the file holds
    // it: a table claiming millions of records in a few kilobytes would
    // otherwise be walked record by record through nothing.
    const qint64 size = QFileInfo(d + *real).size();
    const qint64 body = size - m_h->nHeaderLength;
    const qint64 held = m_h->nRecordLength > 0 && body > 0 ? body / m_h->nRecordLength : 0;
    if (m_h->nRecords < 0 || m_h->nRecords > held) {
        m_damage = QStringLiteral("The table %1 is damaged: its header counts %2, but its %3 bytes hold %4.")
                       .arg(*real)
                       .arg(counted(qint64(m_h->nRecords) & 0xffffffffLL, "record"))
                       .arg(size)
                       .arg(held);
        close();
        return false;
    }
    return true;
}

void DbfTable::close()
{
    if (m_h)
        DBFClose(m_h);
    m_h = nullptr;
}

int DbfTable::recordCount() const { return m_h ? DBFGetRecordCount(m_h) : 0; }

bool DbfTable::isDeleted(int record) const { return m_h && DBFIsRecordDeleted(m_h, record); }

bool DbfTable::readable(int record) const
{
    if (!m_h || record < 0 || record >= m_h->nRecords)
        return false;
    // Reading any field loads the whole record; NULL means it could not be.
    return m_h->nFields <= 0 || DBFReadStringAttribute(m_h, record, 0) != nullptr;
}

int DbfTable::field(const QString &name) const
{
    if (!m_h)
        return -1;
    return DBFGetFieldIndex(m_h, name.toLatin1().constData());
}

std::optional<QString> DbfTable::value(int record, int field) const
{
    if (!m_h || field < 0)
        return std::nullopt;
    if (DBFIsAttributeNULL(m_h, record, field))
        return std::nullopt;
    const char *v = DBFReadStringAttribute(m_h, record, field);
    if (!v)
        return std::nullopt;
    // A line break kept in a text field would split the record it goes into.
    QString s = QString::fromLatin1(v);
    for (QChar &c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    return s.trimmed();
}

} // namespace tav
