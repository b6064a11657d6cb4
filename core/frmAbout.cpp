#include "core/frmAbout.h"

#include "core/ui.h"

#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tav {

namespace {
QPixmap aboutPicture(bool dial)
{
    QPixmap pm(72, 72);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (dial) { // a tuning dial
        p.setBrush(QColor(60, 60, 70));
        p.drawEllipse(6, 6, 60, 60);
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(36, 36, 54, 22);
    } else { // an antenna with its waves
        p.setPen(QPen(QColor(40, 70, 140), 3));
        p.drawLine(36, 66, 36, 20);
        p.drawArc(20, 6, 32, 28, 30 * 16, 120 * 16);
        p.drawArc(10, -2, 52, 40, 35 * 16, 110 * 16);
    }
    return pm;
}
} // namespace

frmAbout::frmAbout() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("About Tavorin"));
    auto *lay = new QVBoxLayout(this);
    auto *pics = new QHBoxLayout;
    auto *p1 = makeLabel(QStringLiteral("picAbout1"), QString(), this);
    p1->setPixmap(aboutPicture(false));
    auto *p2 = makeLabel(QStringLiteral("picAbout2"), QString(), this);
    p2->setPixmap(aboutPicture(true));
    pics->addWidget(p1);
    pics->addStretch();
    pics->addWidget(p2);
    lay->addLayout(pics);

    auto *prog = new QGroupBox(QStringLiteral("The Program"), this);
    auto *pl = new QVBoxLayout(prog);
    pl->addWidget(makeLabel(QStringLiteral("lblProgram"),
                            QStringLiteral("Tavorin puts your communications receiver and your listening tools side "
                                           "by side:\nthe receiver's front panel on the screen, frequency lists and "
                                           "station databases,\na logbook, memories, scans, timer programs and "
                                           "signal measurement.\nIt grew out of many nights at the dial and is "
                                           "written for listeners who log what they hear."),
                            prog));
    lay->addWidget(prog);
    auto *fb = new QGroupBox(QStringLiteral("Giving Feedback to me"), this);
    auto *fl = new QVBoxLayout(fb);
    fl->addWidget(makeLabel(QStringLiteral("lblFeedback"),
                            QStringLiteral("Reports of what works with your receiver, and of what does not,\nare "
                                           "welcome on the project's issue tracker."),
                            fb));
    lay->addWidget(fb);
    lay->addWidget(makeLabel(QStringLiteral("lblWeb"), QStringLiteral("Tavorin - a short-wave listener's desk"), this));
    cmdClose = new QPushButton(QStringLiteral(" Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    lay->addWidget(cmdClose);
    connect(cmdClose, &QPushButton::clicked, this, &TavForm::unload);
}

} // namespace tav
