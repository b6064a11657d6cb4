// A receiver panel with none of a model's work: no driver, no menu, no
// reading at load. Tests of windows that talk to the open panel register it
// under the model's panel name so no receiver exchange of a real panel's
// load mixes into what they check.
#pragma once

#include "panels/frmPanel.h"
#include "core/ui.h"

#include <QLabel>

namespace tavtest {

class PanelStandIn : public tav::frmPanel {
public:
    explicit PanelStandIn(tav::WindowId id) : frmPanel(id, {})
    {
        lblAttenuator = tav::makeLabel(QStringLiteral("lblAttenuator"), QStringLiteral(" 0"), modelArea());
    }
    QLabel *lblAttenuator;

protected:
    void initTablesAndDriver() override {}
    void releaseDriver() override {}
    bool setDriverFrequency(double) override { return true; }
    void buildDirectMenu(QMenu *) override {}
    void Form_Load() override {}
    void Form_Unload() override {}
};

} // namespace tavtest
