#pragma once
// An in-memory stand-in for Comm1: records every byte written and answers
// from a script, for byte-exact tests of the drivers.

#include "core/comm.h"

#include <QByteArray>
#include <functional>

namespace tavtest {

class FakePort : public tav::CommControl {
public:
    // Called with each write; may return bytes that arrive in answer.
    std::function<QByteArray(const QByteArray &)> responder;
    QByteArray written;        // everything written, in order
    QList<QByteArray> writes;  // one entry per Output call

    bool open() override { m_open = true; return true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool Output(const QByteArray &bytes) override
    {
        written += bytes;
        writes << bytes;
        if (responder)
            arrive(responder(bytes));
        return true;
    }
    QByteArray Input() override
    {
        QByteArray out;
        out.swap(m_buffer);
        return out;
    }
    int InBufferCount() override { return int(m_buffer.size()); }
    void clearInput() override { m_buffer.clear(); }
    // Bytes arriving from the receiver.
    void arrive(const QByteArray &bytes)
    {
        if (bytes.isEmpty())
            return;
        m_buffer += bytes;
        scheduleEvent();
    }

private:
    bool m_open = true;
};

} // namespace tavtest
