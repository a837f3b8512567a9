#pragma once
// Watches an X server from outside for the first frame of a new top-level
// window: the first drawing (a DAMAGE event) into a window that was created
// and mapped after the watch was reset. No window manager runs, so top-level
// windows are the root window's children.

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include <X11/Xlib.h>

namespace kalventa::bench {

using Clock = std::chrono::steady_clock;

class FirstFrameWatch {
public:
    explicit FirstFrameWatch(const std::string& display);
    ~FirstFrameWatch();
    FirstFrameWatch(const FirstFrameWatch&) = delete;
    FirstFrameWatch& operator=(const FirstFrameWatch&) = delete;

    // Forgets the windows seen so far; call before starting a program.
    void reset();

    // The time at which a window created since reset() was first drawn into
    // after being mapped. Empty at `deadline`, or as soon as `alive` says
    // the program has ended.
    std::optional<Clock::time_point> waitForFirstFrame(Clock::time_point deadline, const std::function<bool()>& alive);

    // Waits until the windows created since reset() are gone, so that one
    // run's teardown does not overlap the next run's start.
    void waitUntilWindowsGone(Clock::time_point deadline);

private:
    struct Watched {
        unsigned long damage = 0;
        bool mapped = false;
    };

    // Handles one event; returns true if it is the first frame.
    bool handle(XEvent& event);
    // Waits up to `deadline` for an event to be queued.
    bool waitForEvent(Clock::time_point deadline);

    Display* display_ = nullptr;
    Window root_ = 0;
    int damageEventBase_ = 0;
    std::map<Window, Watched> windows_;
};

} // namespace kalventa::bench
