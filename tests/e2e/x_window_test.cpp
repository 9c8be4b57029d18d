// What only a real X server shows: real key events through the keyboard
// layout (XTest), the clipboard, and dialogs placed by a window manager. The
// exit status of the real program is the install check's.
//
// main() starts its own Xvfb and Openbox (both end with this process) and
// runs Qt on the xcb platform in this process. Waits are for events, never
// for a fixed time. Exit status 77 (skipped) where Xvfb, Openbox or
// setxkbmap is missing.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app_object.h"
#include "form1.h"

namespace {

using namespace tolvu;

Display* x = nullptr;

const auto centre = [](const QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); };

// A left click, with `held` down (none if 0).
void click(QPoint at, KeySym held = 0)
{
    XTestFakeMotionEvent(x, -1, at.x(), at.y(), CurrentTime);
    if (held) XTestFakeKeyEvent(x, XKeysymToKeycode(x, held), True, CurrentTime);
    XTestFakeButtonEvent(x, 1, True, CurrentTime);
    XTestFakeButtonEvent(x, 1, False, CurrentTime);
    if (held) XTestFakeKeyEvent(x, XKeysymToKeycode(x, held), False, CurrentTime);
    XSync(x, False);
}

// A key with `modifier` held (none if 0), let go before the key if `modifierUpFirst`.
void chord(KeySym modifier, KeySym key, bool modifierUpFirst = false)
{
    const KeyCode held = modifier ? XKeysymToKeycode(x, modifier) : 0, code = XKeysymToKeycode(x, key);
    const KeyCode order[] = {held, code, modifierUpFirst ? held : code, modifierUpFirst ? code : held};
    for (int i = 0; i < 4; ++i)
        if (order[i]) XTestFakeKeyEvent(x, order[i], i < 2, CurrentTime);
    XSync(x, False);
}

struct RealWindow : ::testing::Test {
    void SetUp() override
    {
        form_.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form_, 10000));
    }
    QPushButton* button(const char* name) { return form_.findChild<QPushButton*>(QLatin1String(name)); }
    Form1 form_;
};

// A key counts by what it types in the layout: "." is Shift with the ";" key
// on a French keyboard and digits need Shift there too, whichever of Shift and
// the key comes up first; the French ":" key is no full stop. Keypad digits
// count with NumLock on, the keypad's decimal key does not. Shift+Insert
// pastes and counts while Shift is still down; Ctrl+V pastes and does not.
TEST_F(RealWindow, KeysInTheLayoutAndPastes)
{
    enum Input { Typed, Keypad, ShiftInsert, CtrlV };
    // clang-format off
    const struct { const char* layout; Input input; std::string text; bool modifierUpFirst; const char* kelvin; }
    cases[] = {
        {"us", Typed, ".", false, "273.15"},         {"us", Keypad, "42", false, "315.15"},
        {"us", Keypad, ".", false, "-"},             {"us", Keypad, ".5", false, "273.65"},
        {"us", ShiftInsert, "2.5", false, "275.65"}, {"us", ShiftInsert, "2.5", true, "-"},
        {"us", CtrlV, "2.5", false, "-"},            {"de", Typed, ".", false, "273.15"},
        {"fr", Typed, ".", false, "273.15"},         {"fr", Typed, ".", true, "273.15"},
        {"fr", Typed, ":", false, "-"},              {"fr", Typed, "37", false, "310.15"},
        {"fr", Typed, "39", true, "312.15"},
    };
    // clang-format on
    QLineEdit* celsius = form_.unitBox(Box::celciusBox);
    std::string layout;
    for (const auto& c : cases) {
        if (c.layout != layout) {
            ASSERT_EQ(std::system(("setxkbmap " + (layout = c.layout)).c_str()), 0);
            XCloseDisplay(x); // a fresh connection reads the new keymap
            x = XOpenDisplay(nullptr);
            const unsigned numLock = XkbKeysymToModifiers(x, XK_Num_Lock);
            XkbLockModifiers(x, XkbUseCoreKbd, numLock, numLock);
        }
        celsius->clear();
        celsius->setFocus();
        form_.unitBox(Box::kelvinBox)->setText("-");
        QGuiApplication::clipboard()->setText(QString::fromStdString(c.text));
        // A large text selected elsewhere is not what Shift+Insert or Ctrl+V pastes.
        QGuiApplication::clipboard()->setText(QString(4096, ' '), QClipboard::Selection);
        for (const KeySym ch : c.text) {
            const bool shifted = XkbKeycodeToKeysym(x, XKeysymToKeycode(x, ch), 0, 0) != ch;
            if (c.input == Typed) chord(shifted ? XK_Shift_L : 0, ch, c.modifierUpFirst);
            if (c.input == Keypad) chord(0, ch == '.' ? XK_KP_Decimal : XK_KP_0 + ch - '0');
        }
        if (c.input == ShiftInsert) chord(XK_Shift_L, XK_Insert, c.modifierUpFirst);
        if (c.input == CtrlV) chord(XK_Control_L, XK_v);
        // The server hands events on in order: once Shift+Home has selected
        // what they typed, every key before it has been handled.
        chord(XK_Shift_L, XK_Home);
        ASSERT_TRUE(QTest::qWaitFor([&] { return celsius->hasSelectedText(); }, 10000)) << "row " << &c - cases;
        EXPECT_EQ(celsius->text().toStdString(), c.text) << "row " << &c - cases;
        EXPECT_EQ(form_.unitBox(Box::kelvinBox)->text().toStdString(), c.kelvin) << "row " << &c - cases;
    }
}

// A dialog opened by a click is modal (a click on Exit does nothing), owned by
// the main window for the window manager and centred on it; About closes with
// its OK button, Credits, which has none, with Esc.
TEST_F(RealWindow, DialogsOverTheWindow)
{
    for (const char* opener : {"aboutButton", "creditsButton"}) {
        // The dialog runs its own event loop inside the click's handler, so
        // the checks run there, once the window manager has activated it.
        QTimer whenOpen;
        QObject::connect(&whenOpen, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeWindow());
            if (!dialog) return;
            whenOpen.stop();
            Window owner = 0;
            XGetTransientForHint(x, dialog->winId(), &owner);
            EXPECT_EQ(owner, form_.winId()) << opener;
            const QPoint offset = centre(dialog) - centre(&form_); // where the window manager put them
            EXPECT_LE(offset.manhattanLength(), 2) << opener << " is off by " << offset.x() << "," << offset.y();
            // Openbox takes a plain click into a window without the focus
            // to focus it and may drop the click: Shift passes it straight
            // on. It is handled before the click that closes the dialog.
            click(centre(button("exitButton")), XK_Shift_L);
            const auto* ok = dialog->findChild<QPushButton*>();
            ok ? click(centre(ok)) : chord(0, XK_Escape);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 10000)) << opener;
            EXPECT_TRUE(form_.isVisible()) << "a click on Exit got past " << opener;
            dialog->hide(); // ends its event loop whatever happened
        });
        whenOpen.start(10);
        click(centre(button(opener)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !whenOpen.isActive(); }, 30000)) << opener;
    }
}

// A result too wide for its box shows on the screen as the box draws it
// rounded, exact while the box has the focus, where Ctrl+C copies it whole,
// and rounded again once the focus has left.
TEST_F(RealWindow, ALongResultShowsRoundedUnlessFocused)
{
    QLineEdit* days = form_.unitBox(Box::dayBox);
    const auto rgb = [](const QPixmap& shot) { return shot.toImage().convertToFormat(QImage::Format_RGB32); };
    const auto shows = [&](const QImage& image) {
        return QTest::qWaitFor(
            [&] { return rgb(form_.screen()->grabWindow(form_.winId()).copy(days->geometry())) == image; }, 10000);
    };
    form_.unitBox(Box::secBox)->setFocus();
    form_.unitBox(Box::secBox)->setText("7"); // Delete at its end recalculates, whatever the layout
    chord(0, XK_Delete);
    ASSERT_TRUE(QTest::qWaitFor([&] { return days->text() == "8.10185185185185E-05"; }, 10000));
    const QImage rounded = rgb(days->grab());
    EXPECT_TRUE(shows(rounded));
    click(centre(days));
    ASSERT_TRUE(QTest::qWaitFor([&] { return days->hasFocus(); }, 10000));
    EXPECT_TRUE(rgb(days->grab()) != rounded && shows(rgb(days->grab())));
    chord(XK_Control_L, XK_c);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text() == days->text(); }, 10000));
    chord(0, XK_Tab);
    EXPECT_TRUE(shows(rounded));
}

// Starts `command` as a child that ends with this process; reads its output from the stream returned.
FILE* start(const std::string& command)
{
    return popen(("exec setpriv --pdeathsig TERM " + command + " 2>/dev/null").c_str(), "r");
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (std::system("which Xvfb openbox setxkbmap >/dev/null") != 0)
        return std::puts("SKIP: Xvfb, openbox or setxkbmap is missing (scripts/install-deps test installs them)"), 77;
    // The server takes a free display number and writes it once it accepts
    // connections, so parallel runs never clash.
    int display = -1;
    if (std::fscanf(start("Xvfb -displayfd 1 -screen 0 1024x768x24"), "%d", &display) != 1) return 1;
    setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_IM_MODULE"})
        unsetenv(name);
    x = XOpenDisplay(nullptr);
    // Openbox's own configuration, whatever the user's; it runs the startup
    // command, which writes a line, once it manages windows.
    if (std::fgetc(start("openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml --startup echo")) == EOF)
        return std::fprintf(stderr, "Openbox did not start\n"), 1;
    QApplication app(argc, argv);
    runtime::initialise(app);
    return RUN_ALL_TESTS();
}
