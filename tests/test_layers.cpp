// Includes point one way: tools, then panels, then the hub level, then
// drivers, then core. An include against that order is a dependency the next
// change trips over, so every source's includes are read and checked here.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {

QString sourceRoot() { return QDir(QStringLiteral(TAVORIN_SAMPLES_DIR "/../..")).canonicalPath(); }

// What each folder may include besides itself.
const QMap<QString, QSet<QString>> &allowed()
{
    static const QSet<QString> below{"core", "drivers", "hub"};
    static const QMap<QString, QSet<QString>> table{
        {"core", {}},
        {"drivers", {"core"}},
        {"hub", {"core", "drivers"}},
        {"panels", below},
        {"lists", below},
        {"logbook", below + QSet<QString>{"lists"}},
        {"stations", below + QSet<QString>{"lists", "logbook"}},
        {"memories", below},
        {"scans", below + QSet<QString>{"signal"}},
        {"timers", below},
        {"signal", below},
        {"samples", {"core", "drivers", "stations", "timers"}},
    };
    return table;
}

} // namespace

TEST(Layers, NoIncludePointsAgainstTheOrder)
{
    const QString root = sourceRoot();
    ASSERT_TRUE(QFileInfo::exists(root + "/hub/hub.h")) << root.toStdString();
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s+"([a-z]+)/)"),
                                     QRegularExpression::MultilineOption);
    QStringList wrong;
    int files = 0;
    for (auto it = allowed().cbegin(); it != allowed().cend(); ++it) {
        QDirIterator dir(root + '/' + it.key(), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
        while (dir.hasNext()) {
            const QString path = dir.next();
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
            ++files;
            const QString text = QString::fromUtf8(f.readAll());
            for (auto m = include.globalMatch(text); m.hasNext();) {
                const QString target = m.next().captured(1);
                if (target != it.key() && allowed().contains(target) && !it.value().contains(target))
                    wrong << QDir(root).relativeFilePath(path) + " includes " + target + '/';
            }
        }
    }
    EXPECT_GT(files, 200) << "the source folders were not found";
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join('\n').toStdString();
}
