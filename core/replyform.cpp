#include "core/replyform.h"

namespace tav {

ReplySpot findReply(const QByteArray &text, const ReplyForm &form, qsizetype from, bool crBefore)
{
    const qsizetype n = text.size();
    for (qsizetype cr = text.indexOf('\r', from); cr >= 0; cr = text.indexOf('\r', cr + 1)) {
        const bool lineEnd = cr + 1 < n && text[cr + 1] == '\n';
        for (qsizetype len = form.lead.size(); len <= form.longest; ++len) {
            const qsizetype at = cr - len;
            if (at < from)
                break;
            // Between a line's CR and its LF the LF is the line's.
            if (lineEnd && !(at > 0 ? text[at - 1] == '\r' : crBefore))
                continue;
            const QByteArray body = text.mid(at, len);
            if (body.startsWith(form.lead) && form.fits(body))
                return {at, len + 1, cr + 1 == n};
        }
    }
    return {};
}

qsizetype replyMayBegin(const QByteArray &text, const ReplyForm &form)
{
    const qsizetype n = text.size();
    for (qsizetype at = std::max<qsizetype>(0, n - form.longest); at < n; ++at) {
        const QByteArray tail = text.mid(at);
        if (tail.contains('\r'))
            continue;
        if (tail.size() <= form.lead.size() ? form.lead.startsWith(tail) : tail.startsWith(form.lead))
            return at;
    }
    return -1;
}

} // namespace tav
