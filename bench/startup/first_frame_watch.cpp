#include "first_frame_watch.h"

#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include <poll.h>

namespace kalventa::bench {
namespace {

// A window can vanish between its CreateNotify and our request for its
// damage; such errors belong to a program that has already gone.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

FirstFrameWatch::FirstFrameWatch(const std::string& display)
{
    display_ = XOpenDisplay(display.c_str());
    if (!display_)
        throw std::runtime_error("cannot open X display " + display);
    int errorBase = 0;
    if (!XDamageQueryExtension(display_, &damageEventBase_, &errorBase)) {
        XCloseDisplay(display_);
        throw std::runtime_error("the X server has no DAMAGE extension");
    }
    XSetErrorHandler(ignoreErrors);
    root_ = XDefaultRootWindow(display_);
    XSelectInput(display_, root_, SubstructureNotifyMask);
    XSync(display_, False);
}

FirstFrameWatch::~FirstFrameWatch()
{
    XCloseDisplay(display_);
}

void FirstFrameWatch::reset()
{
    // Events still queued belong to windows of earlier runs.
    XSync(display_, False);
    XEvent event;
    while (XPending(display_) > 0)
        XNextEvent(display_, &event);
    windows_.clear();
}

bool FirstFrameWatch::waitForEvent(Clock::time_point deadline)
{
    for (;;) {
        // XPending also reads what has arrived on the connection.
        if (XPending(display_) > 0)
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd wait{XConnectionNumber(display_), POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR)
            throw std::runtime_error("poll on the X connection failed");
        if (ready > 0 && (wait.revents & (POLLERR | POLLHUP)))
            throw std::runtime_error("the X server closed the connection");
    }
}

bool FirstFrameWatch::handle(XEvent& event)
{
    if (event.type == damageEventBase_ + XDamageNotify) {
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        const auto watched = windows_.find(damage.drawable);
        return watched != windows_.end() && watched->second.mapped;
    }
    switch (event.type) {
    case CreateNotify: {
        const XCreateWindowEvent& created = event.xcreatewindow;
        // Pop-ups and tooltips bypass the window manager; they are not the
        // program's window. Drawing can start only after the map, so the
        // damage object is in place in time.
        if (created.parent == root_ && !created.override_redirect)
            windows_[created.window].damage = XDamageCreate(display_, created.window, XDamageReportNonEmpty);
        break;
    }
    case MapNotify:
        if (const auto watched = windows_.find(event.xmap.window); watched != windows_.end())
            watched->second.mapped = true;
        break;
    case DestroyNotify:
        // The server frees a window's damage object with the window.
        windows_.erase(event.xdestroywindow.window);
        break;
    default: break;
    }
    return false;
}

std::optional<Clock::time_point> FirstFrameWatch::waitForFirstFrame(Clock::time_point deadline,
                                                                    const std::function<bool()>& alive)
{
    for (;;) {
        // Short slices, so that a program that has ended is noticed at once.
        if (!waitForEvent(std::min(deadline, Clock::now() + std::chrono::milliseconds(20)))) {
            if (Clock::now() >= deadline || !alive())
                return std::nullopt;
            continue;
        }
        XEvent event;
        XNextEvent(display_, &event);
        const auto received = Clock::now();
        if (handle(event))
            return received;
    }
}

void FirstFrameWatch::waitUntilWindowsGone(Clock::time_point deadline)
{
    while (!windows_.empty() && waitForEvent(deadline)) {
        XEvent event;
        XNextEvent(display_, &event);
        handle(event);
    }
}

} // namespace kalventa::bench
