#pragma once
// Reading a file of fixed-width Latin-1 records without holding the file:
// the file is read in blocks and each line's first bytes are handed over
// as they are found, up to the number of lines the caller can hold; lines
// beyond are only counted. Reading stops at a bound the caller gives (a
// file far larger than any its kind holds at the set-up's largest size):
// a file whose lines for the store are not complete by then is refused, and
// past it the lines are no longer counted. So memory and time stay bounded
// whatever the file holds, and a file larger than the store still loads
// what the store holds.

#include "core/textfile.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstring>

namespace tav {

struct RecordFileRead {
    bool ok = true;
    QString error;        // why the file was not read, in words
    bool tooLarge = false; // refused: its first lines alone pass the bound
    qint64 lines = 0;     // lines handed over
    qint64 linesInFile = 0; // every line of the file (a final line end makes no extra one)
    bool countStopped = false; // the bound ended the count: the file holds more lines still
    LeftOut leftOut() const { return {linesInFile - lines, countStopped}; }
};

// `take(bytes, length)` receives each of the first `capacity` lines, cut to
// `width` bytes (line ends: CR LF, LF or CR). No more than `maxBytes` of the
// file are read: a file whose first `capacity` lines are not complete within
// them is refused, the lines of a longer one are counted up to there.
template <class Take>
RecordFileRead readRecordLines(const QString &path, qint64 capacity, int width, qint64 maxBytes, Take take);

// The same on content already in memory (no size bound).
template <class Take>
RecordFileRead splitRecordLines(const QByteArray &content, qint64 capacity, int width, Take take);

// The non-template part: opens the file and calls `block(data, size)` for
// each block read, up to `maxBytes` in all; `countStopped` says the file
// went on past them.
RecordFileRead readFileBlocks(const QString &path, qint64 maxBytes,
                              void (*block)(void *ctx, const char *data, qsizetype size), void *ctx);
// The refusal of a file whose first `lines` lines pass `maxBytes`.
QString linesTooLongText(qint64 lines, qint64 maxBytes);

// Splits blocks into lines; carries the part of a line that spans blocks.
class LineSplitter {
public:
    LineSplitter(qint64 capacity, int width) : m_capacity(capacity), m_width(width) { m_line.reserve(width); }
    template <class Take> void feed(const char *d, qsizetype n, Take &take);
    template <class Take> void finish(Take &take);
    qint64 taken() const { return m_taken; }
    qint64 lines() const { return m_lines; }

private:
    template <class Take> void endLine(Take &take);
    qint64 m_capacity;
    int m_width;
    QByteArray m_line;     // the kept bytes of the current line
    bool m_inLine = false; // bytes of an unfinished line were seen
    bool m_afterCr = false;
    qint64 m_taken = 0, m_lines = 0;
};

// The first CR or LF in d[i, n), or n.
inline qsizetype lineEnd(const char *d, qsizetype i, qsizetype n)
{
    const void *lf = std::memchr(d + i, '\n', size_t(n - i));
    const qsizetype end = lf ? static_cast<const char *>(lf) - d : n;
    const void *cr = std::memchr(d + i, '\r', size_t(end - i));
    return cr ? static_cast<const char *>(cr) - d : end;
}

template <class Take> void LineSplitter::endLine(Take &take)
{
    ++m_lines;
    if (m_taken < m_capacity) {
        take(m_line.constData(), m_line.size());
        ++m_taken;
    }
    m_line.resize(0);
    m_inLine = false;
}

template <class Take> void LineSplitter::feed(const char *d, qsizetype n, Take &take)
{
    qsizetype i = 0;
    if (m_afterCr && n > 0) {
        m_afterCr = false;
        if (d[0] == '\n')
            i = 1;
    }
    while (i < n) {
        qsizetype j = lineEnd(d, i, n);
        if (j < n && !m_inLine) {
            // A whole line inside the block goes over without a copy.
            ++m_lines;
            if (m_taken < m_capacity) {
                take(d + i, std::min<qsizetype>(j - i, m_width));
                ++m_taken;
            }
        } else if (j > i) {
            m_inLine = true;
            // Past the records' width a line's bytes are not needed; past
            // the capacity no line's bytes are.
            if (m_taken < m_capacity && m_line.size() < m_width)
                m_line.append(d + i, std::min<qsizetype>(j - i, m_width - m_line.size()));
        }
        if (j == n)
            return;
        if (m_inLine)
            endLine(take);
        if (d[j] == '\r') {
            if (j + 1 < n) {
                if (d[j + 1] == '\n')
                    ++j;
            } else {
                m_afterCr = true;
            }
        }
        i = j + 1;
    }
}

template <class Take> void LineSplitter::finish(Take &take)
{
    if (m_inLine)
        endLine(take);
}

template <class Take>
RecordFileRead readRecordLines(const QString &path, qint64 capacity, int width, qint64 maxBytes, Take take)
{
    struct Ctx {
        LineSplitter split;
        Take &take;
    } ctx{LineSplitter(capacity, width), take};
    RecordFileRead r = readFileBlocks(path, maxBytes,
                                      [](void *c, const char *d, qsizetype n) {
                                          auto *x = static_cast<Ctx *>(c);
                                          x->split.feed(d, n, x->take);
                                      },
                                      &ctx);
    if (!r.ok)
        return r;
    if (r.countStopped && ctx.split.taken() < capacity) {
        // The lines the store would hold are far longer than the kind's.
        r.ok = false;
        r.tooLarge = true;
        r.error = linesTooLongText(capacity, maxBytes);
        return r;
    }
    // A line cut by the bound is no line of the count.
    if (!r.countStopped)
        ctx.split.finish(take);
    r.lines = ctx.split.taken();
    r.linesInFile = ctx.split.lines();
    return r;
}

template <class Take>
RecordFileRead splitRecordLines(const QByteArray &content, qint64 capacity, int width, Take take)
{
    LineSplitter split(capacity, width);
    split.feed(content.constData(), content.size(), take);
    split.finish(take);
    RecordFileRead r;
    r.lines = split.taken();
    r.linesInFile = split.lines();
    return r;
}

} // namespace tav
