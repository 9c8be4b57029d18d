// What huge pastes leave behind: the resident memory of the real main window
// after Shift+Insert of a 1 MB text into one box, ten times over (each paste
// replacing the whole text, as after a click or Tab into the box), and once
// the box has been emptied again with Backspace.
//
// The keys go through the event loop as the platform delivers them, so the
// line edit pastes, lays the text out and paints it as it does for a user.
// Run on a display (xcb on Xvfb, as bench/run does) or offscreen.
//
// Prints: FIGURE VALUE, memory in MB (VmRSS of this process).
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdio>
#include <fstream>
#include <string>

#include "app_object.h"
#include "form1.h"

namespace {

constexpr int kPastes = 10;
constexpr qsizetype kPasteSize = 1 << 20;

double residentMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void key(QLineEdit* box, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    QKeyEvent event(type, qtKey, modifiers, scanCode, 0, 0);
    QApplication::sendEvent(box, &event);
}

void stroke(QLineEdit* box, int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    key(box, QEvent::KeyPress, qtKey, modifiers, scanCode);
    key(box, QEvent::KeyRelease, qtKey, modifiers, scanCode);
    // Layout and paint, as the window would before the next key.
    box->repaint();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tolvu::runtime::initialise(app);
    tolvu::Form1 form;
    form.show();
    QCoreApplication::processEvents();
    QLineEdit* box = form.unitBox(tolvu::Box::mmBox);
    box->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    std::printf("rss_start_mb %.1f\n", residentMb());

    // 1.777...: a number whose digits run on, so every sister is written.
    QString text(kPasteSize, QLatin1Char('7'));
    text[0] = QLatin1Char('1');
    text[1] = QLatin1Char('.');
    QApplication::clipboard()->setText(text);
    for (int paste = 1; paste <= kPastes; ++paste) {
        stroke(box, Qt::Key_A, Qt::ControlModifier, 38);
        stroke(box, Qt::Key_Insert, Qt::ShiftModifier, 118);
        if (box->text().size() != kPasteSize) {
            std::fprintf(stderr, "paste_memory: paste %d left %lld characters\n", paste,
                         static_cast<long long>(box->text().size()));
            return 1;
        }
        std::printf("rss_paste_%d_mb %.1f\n", paste, residentMb());
    }
    stroke(box, Qt::Key_A, Qt::ControlModifier, 38);
    stroke(box, Qt::Key_Backspace, Qt::NoModifier, 22);
    std::printf("rss_emptied_mb %.1f\n", residentMb());
    return box->text().isEmpty() ? 0 : 1;
}
