#pragma once
// Typed links from the hub to the tool windows that follow the receiver's
// frequency. A window implements the interface of its part, registers itself
// when it loads and removes itself when it unloads; the hub calls the
// registered windows in a fixed order and never looks windows or controls up
// by name.

#include <QString>
#include <vector>

namespace tav {

// A list window with a frequency box showing the frequency last tuned.
class FrequencyBoxLink {
public:
    virtual ~FrequencyBoxLink() = default;
    virtual void showTunedFrequency(const QString &freqtext) = 0;
};

// The last-20 window.
class Last20Link {
public:
    virtual ~Last20Link() = default;
    // Adds a tuned frequency to the list.
    virtual void fillgrdlast20(const QString &freqtext) = 0;
    // The "Ignore Freq steps" box: steps and turns of the dial are not recorded.
    virtual bool ignoresFreqSteps() const = 0;
};

// The tracking window.
class TrackingLink {
public:
    virtual ~TrackingLink() = default;
    // Whether a station database is loaded to track against.
    virtual bool trackDatabaseLoaded() const = 0;
    // Looks up the stations on G.rxfreqnow.
    virtual void Trackfreq() = 0;
    // Loading a file with the RX-320 ends the choice of following the dial.
    virtual void disableDialFollowing() = 0;
    // Dial following ends for a cause of the caller's (a load): the window
    // ends it as its "Mouse" does, so it shows what the receiver does.
    virtual void endDialFollowing() = 0;
};

// A tool window whose caption shows the clock: the welcome window's clock
// timer hands it the local time and UTC texts every five seconds while it is
// loaded.
class ClockCaptionLink {
public:
    virtual ~ClockCaptionLink() = default;
    // The caption's words in front of the times, e.g. "BDXC     LT : ".
    virtual QString clockCaptionLead() const = 0;
    virtual void showClockCaption(const QString &caption) = 0;
};

namespace links {

// Registration; adding twice or removing what is not there does nothing.
void add(FrequencyBoxLink *w);
void remove(FrequencyBoxLink *w);
void add(Last20Link *w);
void remove(Last20Link *w);
void add(TrackingLink *w);
void remove(TrackingLink *w);
void add(ClockCaptionLink *w);
void remove(ClockCaptionLink *w);

// In order of registration.
const std::vector<FrequencyBoxLink *> &frequencyBoxes();
const std::vector<ClockCaptionLink *> &clockCaptions();
// The caption a clock-captioned window shows.
QString clockCaption(const ClockCaptionLink &w, const QString &lttext, const QString &utctext);
// nullptr while no such window is loaded.
Last20Link *last20();
TrackingLink *tracking();

// Whether a step or turn of the dial is recorded in the last-20 list: not
// while the last-20 window is loaded with its "Ignore Freq steps" box ticked.
// Reading the box loads the window, hidden, when it is not loaded (through
// the loader its folder sets).
bool recordsFreqSteps();
void setLast20Loader(Last20Link *(*loader)());

// Tests: forget every registration.
void clear();

} // namespace links

} // namespace tav
