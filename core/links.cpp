#include "core/links.h"

#include <algorithm>

namespace tav::links {

namespace {

struct Registry {
    std::vector<FrequencyBoxLink *> boxes;
    Last20Link *last20 = nullptr;
    TrackingLink *tracking = nullptr;
    std::vector<ClockCaptionLink *> clocks;
};

Last20Link *(*s_last20Loader)() = nullptr;

Registry &reg()
{
    static Registry r;
    return r;
}

} // namespace

void add(FrequencyBoxLink *w)
{
    auto &v = reg().boxes;
    if (w && std::find(v.begin(), v.end(), w) == v.end())
        v.push_back(w);
}

void remove(FrequencyBoxLink *w) { std::erase(reg().boxes, w); }

void add(Last20Link *w) { reg().last20 = w; }

void remove(Last20Link *w)
{
    if (reg().last20 == w)
        reg().last20 = nullptr;
}

void add(TrackingLink *w) { reg().tracking = w; }

void remove(TrackingLink *w)
{
    if (reg().tracking == w)
        reg().tracking = nullptr;
}

void add(ClockCaptionLink *w)
{
    auto &v = reg().clocks;
    if (w && std::find(v.begin(), v.end(), w) == v.end())
        v.push_back(w);
}

void remove(ClockCaptionLink *w) { std::erase(reg().clocks, w); }

const std::vector<ClockCaptionLink *> &clockCaptions() { return reg().clocks; }

QString clockCaption(const ClockCaptionLink &w, const QString &lttext, const QString &utctext)
{
    return w.clockCaptionLead() + lttext + QStringLiteral("     UTC : ") + utctext;
}

const std::vector<FrequencyBoxLink *> &frequencyBoxes() { return reg().boxes; }
Last20Link *last20() { return reg().last20; }
TrackingLink *tracking() { return reg().tracking; }

bool recordsFreqSteps()
{
    const Last20Link *l = reg().last20;
    if (!l && s_last20Loader)
        l = s_last20Loader();
    return !(l && l->ignoresFreqSteps());
}

void setLast20Loader(Last20Link *(*loader)()) { s_last20Loader = loader; }

void clear() { reg() = Registry{}; }

} // namespace tav::links
