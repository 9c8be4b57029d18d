// Returns once a Qt program has handled every input event sent to it so far,
// so the window test reads the clipboard after a key, not after a guess.
//
//   e2e_x_settle <window id> [timeout ms]
//   e2e_x_settle --drop-clipboard
//
// It pings one of the program's windows (_NET_WM_PING) twice in a row. Qt
// answers a ping while it reads its X events, before it hands the input
// events of that same batch to the widgets; by the time the second answer
// comes, the batch with the first ping, and every key before it, has been
// delivered. Exit status: 0 settled, 1 no answer in time (or no such
// window), 2 bad arguments or no display.
//
// --drop-clipboard leaves the clipboard without an owner: it takes the
// clipboard over and ends, and the server then forgets the owner. After a
// Ctrl+C the clipboard holds text again only if the program copied some.
#include <X11/Xlib.h>

#include <sys/select.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

bool g_xerror = false;

int recordError(Display*, XErrorEvent*)
{
    g_xerror = true;
    return 0;
}

using Clock = std::chrono::steady_clock;

// Waits for the answer to the ping stamped `stamp`; false at the deadline.
bool awaitPong(Display* d, Atom protocols, Atom ping, long stamp, Clock::time_point deadline)
{
    const int fd = ConnectionNumber(d);
    for (;;) {
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == ClientMessage && e.xclient.message_type == protocols &&
                static_cast<Atom>(e.xclient.data.l[0]) == ping && e.xclient.data.l[1] == stamp)
                return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        if (left <= 0 || g_xerror) return false;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval tv{static_cast<time_t>(left / 1000000), static_cast<suseconds_t>(left % 1000000)};
        select(fd + 1, &fds, nullptr, nullptr, &tv);
    }
}

int dropClipboard(Display* d)
{
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    XSetSelectionOwner(d, clipboard, w, CurrentTime);
    const bool owned = XGetSelectionOwner(d, clipboard) == w;
    XCloseDisplay(d);
    return owned ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <window id> [timeout ms] | --drop-clipboard\n", argv[0]);
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 2;
    }
    if (std::string_view(argv[1]) == "--drop-clipboard") return dropClipboard(d);
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const long timeoutMs = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 10000;
    XSetErrorHandler(recordError);
    const Window root = DefaultRootWindow(d);
    // Qt sends the answer to the root window, to the clients that listen
    // there for structure changes or redirect them (the window manager).
    XSelectInput(d, root, StructureNotifyMask);
    const Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(d, "_NET_WM_PING", False);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);

    bool settled = true;
    for (long round = 1; round <= 2 && settled; ++round) {
        // Stamps the window manager never uses, different in every run.
        const long stamp = (static_cast<long>(getpid()) << 2) | round;
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = window;
        e.xclient.message_type = protocols;
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(ping);
        e.xclient.data.l[1] = stamp;
        e.xclient.data.l[2] = static_cast<long>(window);
        XSendEvent(d, window, False, NoEventMask, &e);
        XSync(d, False);
        settled = !g_xerror && awaitPong(d, protocols, ping, stamp, deadline);
    }
    XCloseDisplay(d);
    return settled ? 0 : 1;
}
