// What only a real window system shows: real key events through the keyboard
// layout, the clipboard, the name the desktop knows the window by, and
// dialogs placed by a window manager. The exit status of the real program is
// the install check's.
//
// With no argument main() starts its own Xvfb and Openbox and sends keys with
// XTest; with "wayland" it starts its own headless sway and sends keys
// through a virtual keyboard, which hands sway the layout's keymap and
// presses keys by their codes, as a keyboard of that layout does. Either way
// Qt runs in this process and the checks are the same; every child ends with
// this process. Waits are for events, never for a fixed time. Exit status 77
// (skipped) where the window system's programs are missing or sway cannot
// start.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>

#include <tolvu/version.h>

#include "app_object.h"
#include "form1.h"
#include "tsv.h"

namespace {

using namespace tolvu;

// The layout in use as both window systems compile it from the same rules:
// which key types a symbol at which level, and (for sway) which modifiers are
// held or locked.
xkb_context* const xkb = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
xkb_keymap* keymap = nullptr;
xkb_state* keys = nullptr;
Display* x = nullptr;          // on X11
wl_display* wayland = nullptr; // on Wayland: the virtual keyboard's own connection, beside Qt's
wl_proxy *seat = nullptr, *manager = nullptr, *keyboard = nullptr;
FILE* sway = nullptr;
std::string swayDir, swayIpc;

// The virtual keyboard protocol (virtual-keyboard-unstable-v1), which
// libwayland-client does not ship: a manager that makes a keyboard on a seat,
// and the keyboard, which takes a keymap, keys and the modifier state.
const wl_interface* noTypes[4] = {};
const wl_message keyboardRequests[] = {
    {"keymap", "uhu", noTypes}, {"key", "uuu", noTypes}, {"modifiers", "uuuu", noTypes}};
const wl_interface keyboardInterface = {"zwp_virtual_keyboard_v1", 1, 3, keyboardRequests, 0, nullptr};
const wl_interface* createTypes[] = {&wl_seat_interface, &keyboardInterface};
const wl_message managerRequests[] = {{"create_virtual_keyboard", "on", createTypes}};
const wl_interface managerInterface = {"zwp_virtual_keyboard_manager_v1", 1, 1, managerRequests, 0, nullptr};
enum KeyboardRequest { Keymap, Key, Modifiers };

const auto centre = [](const QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); };

// A left click, with `held` down (none if 0).
void click(QPoint at, KeySym held = 0)
{
    XTestFakeMotionEvent(x, -1, at.x(), at.y(), CurrentTime);
    if (held) XTestFakeKeyEvent(x, XKeysymToKeycode(x, held), True, CurrentTime);
    for (const Bool down : {True, False})
        XTestFakeButtonEvent(x, 1, down, CurrentTime);
    if (held) XTestFakeKeyEvent(x, XKeysymToKeycode(x, held), False, CurrentTime);
    XSync(x, False);
}

// The code of the key that types `sym`, and whether it takes Shift; code 0 if none does.
std::pair<xkb_keycode_t, bool> keyFor(xkb_keysym_t sym)
{
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap); ++code)
        for (xkb_level_index_t level = 0; level < xkb_keymap_num_levels_for_key(keymap, code, 0); ++level) {
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap, code, 0, level, &syms) == 1 && syms[0] == sym)
                return {code, level > 0};
        }
    return {0, false};
}

// A key goes down or up: through XTest, or through the virtual keyboard
// followed by the modifier state, which sway takes as sent where it works out
// a real keyboard's from its keys.
void key(xkb_keycode_t code, bool down)
{
    static uint32_t time = 0;
    if (x) XTestFakeKeyEvent(x, code, down, CurrentTime);
    if (x) return void(XSync(x, False));
    xkb_state_update_key(keys, code, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    const auto mods = [](xkb_state_component which) { return xkb_state_serialize_mods(keys, which); };
    wl_proxy_marshal(keyboard, Key, ++time, code - 8, uint32_t(down)); // the evdev code, 8 below the XKB one
    wl_proxy_marshal(keyboard, Modifiers, mods(XKB_STATE_MODS_DEPRESSED), mods(XKB_STATE_MODS_LATCHED),
                     mods(XKB_STATE_MODS_LOCKED), 0);
    wl_display_roundtrip(wayland);
}

// A key with `modifier` held (none if 0), let go before the key if `modifierUpFirst`.
void chord(KeySym modifier, KeySym sym, bool modifierUpFirst = false)
{
    const xkb_keycode_t held = modifier ? keyFor(modifier).first : 0, code = keyFor(sym).first;
    const xkb_keycode_t order[] = {held, code, modifierUpFirst ? held : code, modifierUpFirst ? code : held};
    for (int i = 0; i < 4; ++i)
        if (order[i]) key(order[i], i < 2);
}

// Switches to a keyboard layout, with NumLock on.
bool useLayout(const std::string& layout)
{
    const xkb_rule_names names{nullptr, nullptr, layout.c_str(), nullptr, nullptr};
    xkb_state_unref(keys);
    xkb_keymap_unref(keymap);
    keys = xkb_state_new(keymap = xkb_keymap_new_from_names(xkb, &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (x) {
        if (std::system(("setxkbmap " + layout).c_str()) != 0) return false;
        XCloseDisplay(x); // a fresh connection reads the new keymap
        x = XOpenDisplay(nullptr);
        const unsigned numLock = XkbKeysymToModifiers(x, XK_Num_Lock);
        return XkbLockModifiers(x, XkbUseCoreKbd, numLock, numLock);
    }
    // The keymap goes as a file, as a keyboard's driver hands it over.
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = std::strlen(text) + 1;
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    const bool written = write(fd, text, size) == ssize_t(size);
    wl_proxy_marshal(keyboard, Keymap, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, uint32_t(size)); // sends a copy
    close(fd), free(text);
    chord(0, XKB_KEY_Num_Lock);
    return written;
}

// The name that ties the window to its menu entry in docks and task bars,
// as sway reports it: the Wayland app id. The package test reads the X11
// class of the installed program's window.
std::string appId()
{
    FILE* out = popen(
        ("swaymsg -s " + swayIpc + " -t get_tree -r | sed -n 's/^ *\"app_id\": \"\\(.*\\)\",$/\\1/p'").c_str(), "r");
    char name[256] = {};
    const bool read = std::fscanf(out, "%255s", name) == 1;
    return pclose(out), read ? name : "";
}

struct RealWindow : ::testing::Test {
    void SetUp() override
    {
        form_.show();
        // Qt 6.4 cannot tell whether a Wayland compositor activates windows,
        // so it would wait for the window to be exposed only.
        ASSERT_TRUE(QTest::qWaitFor([&] { return form_.isActiveWindow(); }, 10000));
    }
    QPushButton* button(const char* name) { return form_.findChild<QPushButton*>(QLatin1String(name)); }
    Form1 form_;
};

// On Wayland the window goes by the name of its menu entry; each row of
// keys.tsv says what is typed in Celsius under a layout, and what Kelvin
// then shows.
TEST_F(RealWindow, ItsNameAndKeysInTheLayout)
{
    EXPECT_TRUE(x || appId() == version::kAppId) << appId();
    QLineEdit* celsius = form_.unitBox(Box::celciusBox);
    std::string layout;
    for (const test::Row& c : test::readTable("e2e/keys.tsv")) {
        const std::string &input = c[1], &text = c[2];
        const bool modifierUpFirst = c[3] == "1";
        if (c[0] != layout) {
            ASSERT_TRUE(useLayout(layout = c[0])) << layout;
        }
        celsius->clear();
        celsius->setFocus();
        form_.unitBox(Box::kelvinBox)->setText("-");
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
        // A large text selected elsewhere is not what Shift+Insert or Ctrl+V pastes.
        QGuiApplication::clipboard()->setText(QString(4096, ' '), QClipboard::Selection);
        std::string typed;
        for (const char ch : text) {
            const KeySym sym = ch == '<' ? XK_BackSpace : ch;
            if (input == "typed") chord(keyFor(sym).second ? XK_Shift_L : 0, sym, modifierUpFirst);
            if (input == "keypad") chord(0, ch == '.' ? XK_KP_Decimal : XK_KP_0 + ch - '0');
            ch == '<' ? typed.pop_back() : typed.push_back(ch);
        }
        if (input == "shift+insert") chord(XK_Shift_L, XK_Insert, modifierUpFirst);
        if (input == "ctrl+v") chord(XK_Control_L, XK_v);
        // Events reach the window in order: once Shift+Home has selected what
        // they typed, every key before it has been handled.
        chord(XK_Shift_L, XK_Home);
        ASSERT_TRUE(QTest::qWaitFor([&] { return celsius->hasSelectedText(); }, 10000))
            << layout << ' ' << input << ' ' << text;
        EXPECT_EQ(celsius->text().toStdString(), typed) << layout << ' ' << input << ' ' << text;
        EXPECT_EQ(form_.unitBox(Box::kelvinBox)->text().toStdString(), c[4]) << layout << ' ' << input << ' ' << text;
    }
}

// A dialog opened by a click is modal (a click on Exit does nothing), owned by
// the main window for the window manager and centred on it; About closes with
// its OK button, Credits, which has none, with Esc.
TEST_F(RealWindow, DialogsOverTheWindow)
{
    if (!x) GTEST_SKIP() << "clicks and window placement are checked on X11";
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
    if (!x) GTEST_SKIP() << "what the screen shows is read on X11";
    QLineEdit* days = form_.unitBox(Box::dayBox);
    const auto image = [](const QPixmap& shot) { return shot.toImage().convertToFormat(QImage::Format_RGB32); };
    const auto screenShows = [&](const QImage& drawn) {
        const auto onScreen = [&] { return image(form_.screen()->grabWindow(form_.winId()).copy(days->geometry())); };
        return QTest::qWaitFor([&] { return onScreen() == drawn; }, 10000);
    };
    form_.unitBox(Box::secBox)->setFocus();
    form_.unitBox(Box::secBox)->setText("7"); // Delete at its end recalculates, whatever the layout
    chord(0, XK_Delete);
    ASSERT_TRUE(QTest::qWaitFor([&] { return days->text() == "8.10185185185185E-05"; }, 10000));
    const QImage rounded = image(days->grab());
    click(centre(days));
    EXPECT_TRUE(QTest::qWaitFor([&] { return days->hasFocus(); }, 10000) && image(days->grab()) != rounded);
    EXPECT_TRUE(screenShows(image(days->grab())));
    chord(XK_Control_L, XK_c);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text() == days->text(); }, 10000));
    chord(0, XK_Tab);
    EXPECT_TRUE(screenShows(rounded));
}

// Starts `command` as a child that ends with this process; reads its output from the stream returned.
FILE* start(const std::string& command)
{
    return popen(("exec setpriv --pdeathsig TERM " + command + " 2>/dev/null").c_str(), "r");
}

int startX11()
{
    if (std::system("which Xvfb openbox setxkbmap >/dev/null") != 0)
        return std::puts("SKIP: Xvfb, openbox or setxkbmap is missing (scripts/install-deps test installs them)"), 77;
    // The server takes a free display number and writes it once it accepts
    // connections, so parallel runs never clash.
    int display = -1;
    if (std::fscanf(start("Xvfb -displayfd 1 -screen 0 1024x768x24"), "%d", &display) != 1) return 1;
    setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    x = XOpenDisplay(nullptr);
    // Openbox's own configuration, whatever the user's; it runs the startup
    // command, which writes a line, once it manages windows.
    if (std::fgetc(start("openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml --startup echo")) == EOF)
        return std::fprintf(stderr, "Openbox did not start\n"), 1;
    return useLayout("us") ? 0 : 1;
}

// sway will not run as root, so there it runs as nobody, in a runtime
// directory of nobody's. Its own configuration, not the user's, writes where
// it listens once it has started. It shares its window buffers and keymaps
// through files in /dev/shm, which a bare chroot may leave to root alone.
int startSway()
{
    if (std::system("which sway swaymsg >/dev/null") != 0 ||
        !QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so"))
        return std::puts("SKIP: sway or qt6-wayland is missing (scripts/install-deps test installs them)"), 77;
    sway = popen(R"sh(dir=$(mktemp -d /tmp/tolvu-sway.XXXXXX) && echo "$dir" && user= &&
        printf 'xwayland disable\nexec printenv WAYLAND_DISPLAY SWAYSOCK\n' >"$dir/config" &&
        if [ "$(id -u)" = 0 ]; then chown -R nobody: "$dir" && user="--reuid=nobody --regid=$(id -g nobody) --clear-groups"; fi &&
        { setpriv $user test -w /dev/shm || { echo "/dev/shm is not writable for sway" >"$dir/log"; exit; }; } &&
        XDG_RUNTIME_DIR=$dir WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        exec setpriv --pdeathsig TERM $user sway -c "$dir/config" 2>"$dir/log")sh",
                 "r");
    char dir[256], socket[256], ipc[256];
    if (std::fscanf(sway, "%255s", dir) != 1) return 1;
    swayDir = dir;
    if (std::fscanf(sway, "%255s %255s", socket, ipc) != 2)
        return std::cout << "SKIP: sway did not start: " << std::ifstream(swayDir + "/log").rdbuf(), 77;
    setenv("WAYLAND_DISPLAY", (swayDir + "/" + socket).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "wayland", 1);
    swayIpc = ipc;
    static const wl_registry_listener listener = {
        [](void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
            for (auto [global, type] : {std::pair{&seat, &wl_seat_interface}, std::pair{&manager, &managerInterface}})
                if (std::strcmp(interface, type->name) == 0)
                    *global = static_cast<wl_proxy*>(wl_registry_bind(registry, name, type, 1));
        },
        [](void*, wl_registry*, uint32_t) {}};
    if (!(wayland = wl_display_connect(getenv("WAYLAND_DISPLAY")))) return 1;
    wl_registry_add_listener(wl_display_get_registry(wayland), &listener, nullptr);
    wl_display_roundtrip(wayland);
    if (!seat || !manager) return std::puts("SKIP: sway offers no virtual keyboard"), 77;
    keyboard = wl_proxy_marshal_constructor(manager, 0, &keyboardInterface, seat, nullptr);
    // The seat has a keyboard once it has a keymap, and Qt asks for the
    // keyboard only when the seat offers one.
    return useLayout("us") ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_IM_MODULE"})
        unsetenv(name);
    int status = argc > 1 && std::string(argv[1]) == "wayland" ? startSway() : startX11();
    if (status == 0) {
        QApplication app(argc, argv);
        runtime::initialise(app);
        status = RUN_ALL_TESTS();
    }
    // Qt leaves before sway does, which ends before it can answer (swaymsg says so).
    if (!swayIpc.empty()) [[maybe_unused]]
        const int answered = std::system(("swaymsg -s " + swayIpc + " exit 2>/dev/null").c_str());
    if (sway) pclose(sway);
    if (!swayDir.empty()) std::filesystem::remove_all(swayDir);
    return status;
}
