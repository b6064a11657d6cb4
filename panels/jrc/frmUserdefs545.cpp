#include "panels/jrc/frmUserdefs545.h"

#include "core/delay.h"
#include "core/comm.h"
#include "drivers/clsNRD545.h"
#include "panels/frmNRD545.h"
#include "drivers/receiver.h"
#include "panels/nrd545text.h"

#include "core/ui.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

namespace {
constexpr int kInputTuning = 24;

// The panel shows whether the input tuning circuit is in by the colour of
// its attenuator label.
void paintPanelAttenuator(unsigned color)
{
    if (auto *p = Windows::existing<frmNRD545>())
        p->setAttenuatorLabelColour(color);
}
} // namespace

frmUserdefs545::frmUserdefs545() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("NRD-545 User Definitions"));
    auto *outer = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    outer->addLayout(grid);

    int cell = 0;
    auto place = [&](QGroupBox *box) {
        grid->addWidget(box, cell / 4, cell % 4);
        ++cell;
    };
    for (const nrd545::OptionItem &it : nrd545::userOptionItems()) {
        auto *box = new QGroupBox(it.frame, this);
        box->setObjectName(QStringLiteral("fraItem%1").arg(it.item));
        auto *col = new QVBoxLayout(box);
        auto *group = new OptionGroup(this);
        group->setObjectName(it.control);
        for (int i = 0; i < it.options.size(); ++i)
            col->addWidget(group->add(i, it.control, it.options[i], box));
        const int item = it.item;
        connect(group, &OptionGroup::clicked, this, [this, item](int index) { option_Click(item, index); });
        options.insert(item, group);
        place(box);
    }
    for (const nrd545::SteppedItem &it : nrd545::userSteppedItems()) {
        auto *box = new QGroupBox(it.frame, this);
        box->setObjectName(QStringLiteral("fraItem%1").arg(it.item));
        auto *row = new QHBoxLayout(box);
        Stepped s;
        s.spn = new SpinButton(it.spin, box);
        s.lbl = valueLabel(makeLabel(it.label, nrd545::steppedText(it.item, it.start), box));
        s.cmd = makeButton(it.button, QStringLiteral("Set"), box);
        s.value = it.start;
        row->addWidget(s.spn);
        row->addWidget(s.lbl, 1);
        row->addWidget(s.cmd);
        const int item = it.item;
        connect(s.spn, &SpinButton::SpinUp, this, [this, item] { spin(item, +1); });
        connect(s.spn, &SpinButton::SpinDown, this, [this, item] { spin(item, -1); });
        connect(s.cmd, &QPushButton::clicked, this, [this, item] { cmdSet_Click(item); });
        stepped.insert(item, s);
        place(box);
    }

    auto *buttons = new QHBoxLayout;
    outer->addLayout(buttons);
    cmdDefaults = makeButton(QStringLiteral("cmdDefaults"), QStringLiteral("Reset to Defaults"), this);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    buttons->addStretch(1);
    buttons->addWidget(cmdDefaults);
    buttons->addWidget(cmdExit);
    connect(cmdDefaults, &QPushButton::clicked, this, &frmUserdefs545::cmdDefaults_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmUserdefs545::cmdExit_Click);
}

frmUserdefs545::~frmUserdefs545() = default;

void frmUserdefs545::Form_Load()
{
    NRD545A = std::make_unique<clsNRD545>(rxPort());
    for (const nrd545::SteppedItem &it : nrd545::userSteppedItems())
        setStepped(it.item, it.start, nrd545::steppedText(it.item, it.start));
    // A window opened before shows no choice of its last opening.
    for (OptionGroup *g : std::as_const(options))
        for (int i = 0; i < g->count(); ++i)
            g->button(i)->setChecked(false);
    // Selecting sends the item once more; what the receiver did not take is
    // neither selected nor painted.
    const bool taken = NRD545A->setUserdefs(kInputTuning, 1);
    options.value(kInputTuning)->select(1);
    if (taken)
        paintPanelAttenuator(kLightYellow);
    cmdDefaults->setEnabled(true);
}

void frmUserdefs545::Form_Unload() { NRD545A.reset(); }

void frmUserdefs545::setStepped(int item, int value, const QString &text)
{
    auto it = stepped.find(item);
    if (it == stepped.end())
        return;
    it->value = value;
    it->lbl->setText(text);
    it->lbl->repaint();
}

void frmUserdefs545::option_Click(int item, int index)
{
    if (!NRD545A)
        return;
    if (!NRD545A->setUserdefs(int16_t(item), int16_t(index))) {
        options.value(item)->putBack();
        return;
    }
    if (item == kInputTuning)
        paintPanelAttenuator(index == 1 ? kLightYellow : kOrange);
}

void frmUserdefs545::spin(int item, int direction)
{
    for (const nrd545::SteppedItem &it : nrd545::userSteppedItems())
        if (it.item == item) {
            const int v = nrd545::stepValue(it, stepped.value(item).value, direction);
            setStepped(item, v, nrd545::steppedText(item, v));
        }
}

void frmUserdefs545::cmdSet_Click(int item)
{
    if (NRD545A && stepped.contains(item))
        NRD545A->setUserdefs(int16_t(item), int16_t(stepped.value(item).value));
}

void frmUserdefs545::cmdDefaults_Click()
{
    if (m_resetting || !NRD545A)
        return;
    // Closing the window meanwhile waits for the run to end; a second press
    // would interleave two runs.
    Busy busy(this);
    m_resetting = true;
    cmdDefaults->setEnabled(false);
    {
        HourglassGuard hourglass;
        Receiver::hold(this, true);
        // A default the receiver did not take ends the run: only what it
        // took is shown.
        bool taken = true;
        for (int item = 1; item <= 32 && taken; ++item) {
            Delay(20);
            if (!NRD545A)
                break;
            for (const nrd545::OptionItem &it : nrd545::userOptionItems()) {
                if (it.item != item)
                    continue;
                if (!(taken = NRD545A->setUserdefs(int16_t(item), int16_t(it.defaultIndex))))
                    break;
                options.value(item)->select(it.defaultIndex);
                if (item == kInputTuning)
                    paintPanelAttenuator(kLightYellow);
            }
            for (const nrd545::SteppedItem &it : nrd545::userSteppedItems()) {
                if (it.item != item || !taken)
                    continue;
                if (!(taken = NRD545A->setUserdefs(int16_t(item), int16_t(it.start))))
                    break;
                // The auto-stop time has always read "3.0" after a reset.
                setStepped(item, it.start,
                           item == 22 ? QStringLiteral("3.0") : nrd545::steppedText(item, it.start));
            }
        }
        Receiver::hold(this, false);
    }
    cmdDefaults->setEnabled(true);
    m_resetting = false;
}

void frmUserdefs545::cmdExit_Click() { unload(); }

} // namespace tav
