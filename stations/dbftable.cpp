#include "stations/dbftable.h"

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
    return m_h != nullptr;
}

void DbfTable::close()
{
    if (m_h)
        DBFClose(m_h);
    m_h = nullptr;
}

int DbfTable::recordCount() const { return m_h ? DBFGetRecordCount(m_h) : 0; }

bool DbfTable::isDeleted(int record) const { return m_h && DBFIsRecordDeleted(m_h, record); }

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
    return QString::fromLatin1(v).trimmed();
}

} // namespace tav
