#pragma once
// The baseline the loaders are measured against: what a plain program does
// to read a file of lines, in the same run as the loader it is compared with.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <chrono>

namespace tavbench {

// Reads the whole file and splits it at its line ends.
inline qsizetype plainReadAndSplit(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = f.readAll().split('\n');
    return lines.size();
}

// Milliseconds that `fn` takes.
template <class Fn> double millis(Fn &&fn)
{
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace tavbench
