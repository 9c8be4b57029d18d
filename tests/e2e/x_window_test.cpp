// The main window in a real X server, for what only one shows: keys come as
// real key events from the keyboard layout (XTest), through the window
// manager's focus, and the boxes are read directly.
//
// main() starts its own Xvfb (on a display number the server picks) and
// Openbox, then runs Qt on the xcb platform on that display in this process.
// Waits are for events, never for a fixed time: after sending input the test
// sends a marker message to the window and processes Qt's events until the
// marker has come through, so every key before it has been handled.
// Exit status 77 (skipped) where Xvfb, Openbox, setxkbmap or xprop is missing.
#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QtGui/qpa/qwindowsysteminterface.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app_object.h"
#include "form1.h"
#include "key_codes.h"

namespace {

std::string g_display; // ":N"

// Starts `argv` as a child that dies with this process.
pid_t spawn(std::vector<std::string> argv, int keepFd = -1)
{
    const pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keepFd) close(fd);
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

bool run(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

bool haveTool(const char* tool)
{
    return run(std::string("command -v ") + tool + " >/dev/null 2>&1");
}

bool windowManagerRunning()
{
    return run("xprop -display " + g_display + " -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'");
}

} // namespace

namespace tolvu::test {
namespace {

// Watches Qt's X events for the markers that settle() sends.
class MarkerFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if (type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* client = static_cast<const xcb_client_message_event_t*>(message);
            if (client->type == atom) {
                seen = client->data.data32[0];
                return true;
            }
        }
        return false;
    }
    unsigned long atom = 0;
    unsigned long seen = 0;
};

class ReleaseWatch : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) seen = true;
        return false;
    }
    bool seen = false;
};

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        openDisplay();
        marker_.atom = XInternAtom(x_, "TOLVU_TEST_MARKER", False);
        QCoreApplication::instance()->installNativeEventFilter(&marker_);
        form_ = std::make_unique<Form1>();
        form_->show();
        // A window mapped while Openbox is still starting is not focused.
        form_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get(), 10000));
    }

    void TearDown() override
    {
        form_.reset();
        QCoreApplication::instance()->removeNativeEventFilter(&marker_);
        XCloseDisplay(x_);
    }

    QLineEdit* box(Box b) const { return form_->unitBox(b); }

    // A real key by its keysym under the active layout; `shifted` tells
    // whether it needs Shift there.
    KeyCode keyFor(KeySym sym, bool* shifted = nullptr)
    {
        const KeyCode code = XKeysymToKeycode(x_, sym);
        EXPECT_NE(code, 0) << "no key types keysym " << sym;
        if (shifted) *shifted = XkbKeycodeToKeysym(x_, code, 0, 0) != sym;
        return code;
    }
    void pressKey(KeySym sym) { XTestFakeKeyEvent(x_, keyFor(sym), True, CurrentTime); }
    void releaseKey(KeySym sym) { XTestFakeKeyEvent(x_, keyFor(sym), False, CurrentTime); }

    // Types each character with the key that types it, Shift held where
    // the layout needs it; with `shiftUpFirst` Shift comes up before the key.
    void typeText(const std::string& text, bool shiftUpFirst = false)
    {
        for (const char c : text) {
            bool shifted = false;
            const KeyCode code = keyFor(static_cast<unsigned char>(c), &shifted);
            if (shifted) pressKey(XK_Shift_L);
            XTestFakeKeyEvent(x_, code, True, CurrentTime);
            if (shifted && shiftUpFirst) releaseKey(XK_Shift_L);
            XTestFakeKeyEvent(x_, code, False, CurrentTime);
            if (shifted && !shiftUpFirst) releaseKey(XK_Shift_L);
        }
        settle();
    }

    // A left click in the middle of `widget`. The window manager sees the
    // button first and lets it through when it is done with it, so the wait
    // is for the release to reach the widget.
    void click(QWidget* widget)
    {
        ReleaseWatch watch;
        widget->installEventFilter(&watch);
        const QPoint at = widget->mapToGlobal(widget->rect().center());
        XTestFakeMotionEvent(x_, -1, at.x(), at.y(), CurrentTime);
        XTestFakeButtonEvent(x_, 1, True, CurrentTime);
        XTestFakeButtonEvent(x_, 1, False, CurrentTime);
        XSync(x_, False);
        EXPECT_TRUE(QTest::qWaitFor([&] { return watch.seen; }, 10000)) << "the click never came";
        widget->removeEventFilter(&watch);
        settle();
    }

    // Switches the X server's layout and waits until Qt's keymap has it too:
    // every ASCII symbol of the main block at the level Qt reports it.
    void setLayout(const char* layout)
    {
        ASSERT_TRUE(run("setxkbmap -display " + g_display + " " + layout)) << layout;
        XCloseDisplay(x_); // a fresh connection reads the new keymap
        openDisplay();
        const auto qtHasIt = [this] {
            for (KeyCode code = 10; code <= 61; ++code) {
                const runtime::KeyLevels levels = runtime::levelsOfKey(code);
                for (const unsigned level : {0u, 1u}) {
                    const KeySym sym = XkbKeycodeToKeysym(x_, code, 0, static_cast<int>(level));
                    const int qtKey = levels[level];
                    if (sym > 0x20 && sym < 0x7f && qtKey != 0 && qtKey != QChar(char16_t(sym)).toUpper().unicode())
                        return false;
                }
            }
            return true;
        };
        ASSERT_TRUE(QTest::qWaitFor(qtHasIt, 10000)) << "Qt never saw the layout " << layout;
    }

    // Returns once Qt has handled everything sent to the server so far.
    void settle()
    {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = static_cast<Window>(form_->winId());
        e.xclient.message_type = marker_.atom;
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(++markers_);
        XSendEvent(x_, e.xclient.window, False, NoEventMask, &e);
        XSync(x_, False);
        ASSERT_TRUE(QTest::qWaitFor([this] { return marker_.seen == markers_; }, 10000)) << "the window hangs";
        while (QWindowSystemInterface::windowSystemEventsQueued() > 0)
            QWindowSystemInterface::sendWindowSystemEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
    }

private:
    void openDisplay()
    {
        x_ = XOpenDisplay(g_display.c_str());
        ASSERT_NE(x_, nullptr);
    }

    Display* x_ = nullptr;
    MarkerFilter marker_;
    unsigned long markers_ = 0;
    std::unique_ptr<Form1> form_;
};

// The key filter takes keys by what they type in the active layout: "." at
// either level is the full-stop key (Shift and ";" on a French keyboard), a
// key typing a digit is a digit key (with Shift on French keys), whichever
// of Shift and the key comes up first; the French ":" key changes nothing.
TEST_F(RealWindow, KeysCountByWhatTheyTypeInTheLayout)
{
    struct Case {
        const char* layout;
        const char* typed;
        bool shiftUpFirst;
        const char* kelvin;
    };
    const Case cases[] = {
        {"us", ".", false, "273.15"}, {"de", ".", false, "273.15"}, {"fr", ".", false, "273.15"},
        {"fr", ".", true, "273.15"},  {"fr", ":", false, "marked"}, {"fr", "37", false, "310.15"},
        {"fr", "37", true, "310.15"},
    };
    QLineEdit* celsius = box(Box::celciusBox);
    QLineEdit* kelvin = box(Box::kelvinBox);
    for (const Case& c : cases) {
        setLayout(c.layout);
        celsius->setText(QStringLiteral("99"));
        kelvin->setText(QStringLiteral("marked"));
        click(kelvin);
        click(celsius); // the click that brings the focus selects the whole text
        typeText(c.typed, c.shiftUpFirst);
        EXPECT_EQ(celsius->text().toStdString(), c.typed) << c.layout;
        EXPECT_EQ(kelvin->text().toStdString(), c.kelvin) << c.layout << " " << c.typed << " " << c.shiftUpFirst;
    }
}

} // namespace
} // namespace tolvu::test

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (const char* tool : {"Xvfb", "openbox", "setxkbmap", "xprop"}) {
        if (!haveTool(tool)) {
            std::printf("SKIP: %s is not installed (scripts/install-deps test installs it)\n", tool);
            return 77;
        }
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <openbox-rc.xml>\n", argv[0]);
        return 2;
    }
    const std::string wmConfig = argv[1];

    // -displayfd: the server takes a free display number and writes it once
    // it accepts connections, so parallel runs never clash.
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return 2;
    const pid_t xvfb = spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1024x768x24", "-dpi",
                              "96", "-nolisten", "tcp", "-noreset"},
                             pipeFds[1]);
    close(pipeFds[1]);
    // The server writes the number and the line feed separately: the pipe
    // stays open until both have come, or the second write would fail.
    std::string number;
    char c = 0;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    if (number.empty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    g_display = ":" + number;
    setenv("DISPLAY", g_display.c_str(), 1);
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING", "QT_IM_MODULE",
                             "XMODIFIERS", "WAYLAND_DISPLAY"})
        unsetenv(name);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    char runtimeDir[] = "/tmp/tolvu-x-window.XXXXXX";
    if (!mkdtemp(runtimeDir)) return 2;
    setenv("XDG_RUNTIME_DIR", runtimeDir, 1);
    setenv("XDG_CONFIG_HOME", runtimeDir, 1);

    const pid_t wm = spawn({"openbox", "--sm-disable", "--config-file", wmConfig});
    for (int i = 0; i < 1000 && !windowManagerRunning(); ++i)
        usleep(10000); // another process starting up: nothing to wait on but its property
    const bool wmUp = windowManagerRunning();

    int status = 1;
    if (wmUp) {
        QApplication app(argc, argv);
        tolvu::runtime::initialise(app);
        QApplication::setQuitOnLastWindowClosed(false);
        status = RUN_ALL_TESTS();
    } else {
        std::fprintf(stderr, "Openbox did not start on %s\n", g_display.c_str());
    }
    for (const pid_t pid : {wm, xvfb}) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    std::filesystem::remove_all(runtimeDir);
    return status;
}
