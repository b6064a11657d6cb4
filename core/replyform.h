#pragma once
// A receiver reply in the form the receiver gives it (its first characters,
// its length, what it holds) ending in CR, as it is found in decoded text
// that the receiver streams in around it (the JRC receivers' RTTY output).
//
// Decoded text ends its lines with CR LF, a reply with CR alone: a CR that
// is followed by LF ends a line of text and never a reply. A CR that is the
// last byte seen may still get its LF, so a reply ending there is only
// "open" until the next byte comes or the text has gone quiet. A reply
// that came between a line's CR and its LF is still a reply: its CR is
// followed by the line's LF, but the byte before it is the line's CR.

#include <QByteArray>
#include <functional>
#include <memory>

namespace tav {

struct ReplyForm {
    // What every reply of the form starts with ("M", "L199"); replies with
    // the same lead are of the same form.
    QByteArray lead;
    // The longest reply, without its CR.
    int longest = 0;
    // Whether a reply without its CR is of this form.
    std::function<bool(const QByteArray &)> fits;
    // Replies that answer the same command wrongly (another channel's
    // record for a memory read); none when unset.
    std::shared_ptr<const ReplyForm> wrong;
};

struct ReplySpot {
    qsizetype at = -1;  // where it starts
    qsizetype size = 0; // with its CR
    // Its CR is the last byte of the text: an LF may still follow.
    bool open = false;
    bool found() const { return at >= 0; }
    qsizetype end() const { return at + size; }
};

// The first reply of `form` in `text` that starts at `from` or later: the
// shortest run that starts with the lead, fits and ends at a CR not
// followed by LF, or at any CR when a CR comes right before the run
// (`crBefore` stands for the byte before the text).
ReplySpot findReply(const QByteArray &text, const ReplyForm &form, qsizetype from = 0, bool crBefore = false);

// Where a reply of `form` may begin at the end of `text` that has not come
// whole yet (no CR after it); -1 when none may.
qsizetype replyMayBegin(const QByteArray &text, const ReplyForm &form);

} // namespace tav
