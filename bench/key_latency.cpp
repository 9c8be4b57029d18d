// What the user waits for after each key: the time from a key release
// delivered to a unit box of the real main window until every sister box
// holds its new text, in-process, 10,000 releases in each group. A second
// pass also lets the window repaint before the clock stops.
//
// Each release follows a new text in the source box (a random number of one
// to twelve digits, a point in some), typed as the last digit's key. Every
// result is checked against the engine, so a fast but wrong window cannot
// pass. Run with QT_QPA_PLATFORM=offscreen (the default here).
//
// Prints, per group: GROUP FIGURE MEDIAN MIN MAX P99 RUNS, in microseconds.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app_object.h"
#include "form1.h"
#include "process_stats.h"
#include "rule.h"
#include "units.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kReleasesPerGroup = 10000;
constexpr int kWarmUp = 500;

// XKB keycodes of the digit row: 1..9 are 10..18, 0 is 19.
quint32 digitScanCode(char digit)
{
    return digit == '0' ? 19u : static_cast<quint32>(10 + (digit - '1'));
}

std::string randomNumber(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(1, 12), digit(0, 9), coin(0, 3);
    std::string text;
    const int n = length(random);
    for (int i = 0; i < n; ++i)
        text += static_cast<char>('0' + digit(random));
    if (n > 2 && coin(random) == 0) text.insert(static_cast<std::size_t>(n / 2), 1, '.');
    return text;
}

bool sistersHold(const tolvu::Form1& form, tolvu::Box source, const std::string& text)
{
    const tolvu::Recalculation expected = tolvu::convert(source, text);
    for (const tolvu::Write& w : expected.writes())
        if (form.unitBox(w.target)->text().toStdString() != w.text.view()) return false;
    return expected.acted() && !expected.overflowAt();
}

struct Figures {
    std::vector<double> keyUp, withRepaint;
};

// One release into `source`, timed; false if a sister got a wrong text.
bool release(tolvu::Form1& form, tolvu::Box source, const std::string& text, bool repaint, std::vector<double>* into)
{
    QLineEdit* box = form.unitBox(source);
    box->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    const char last = text.back();
    QKeyEvent event(QEvent::KeyRelease, Qt::Key_0 + (last - '0'), Qt::NoModifier, digitScanCode(last), 0, 0,
                    QString(QLatin1Char(last)));
    // Whatever the text change left to do is not the key's cost.
    QCoreApplication::processEvents();
    const Clock::time_point start = Clock::now();
    QCoreApplication::sendEvent(box, &event);
    if (repaint) QCoreApplication::processEvents();
    const Clock::time_point end = Clock::now();
    if (into) into->push_back(std::chrono::duration<double, std::micro>(end - start).count());
    return sistersHold(form, source, text);
}

void print(const char* group, const char* figure, const std::vector<double>& us)
{
    tolvu::bench::printFigure(group, figure, us);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tolvu::runtime::initialise(app);
    tolvu::Form1 form;
    form.show();
    QCoreApplication::processEvents();

    std::mt19937 random(2131);
    for (const tolvu::GroupInfo& group : tolvu::allGroups()) {
        Figures figures;
        figures.keyUp.reserve(kReleasesPerGroup);
        figures.withRepaint.reserve(kReleasesPerGroup);
        for (int pass = 0; pass < 2; ++pass) {
            const bool repaint = pass == 1;
            auto& into = repaint ? figures.withRepaint : figures.keyUp;
            for (int i = -kWarmUp; i < kReleasesPerGroup; ++i) {
                // Every member of the group takes its turn as the source.
                const tolvu::Box source = group.members[static_cast<std::size_t>(i + kWarmUp) % group.members.size()];
                form.unitBox(source)->setFocus();
                if (!release(form, source, randomNumber(random), repaint, i < 0 ? nullptr : &into)) {
                    std::fprintf(stderr, "key_latency: wrong sister text after a release in %s\n",
                                 std::string(tolvu::boxInfo(source).name).c_str());
                    return 1;
                }
            }
        }
        const std::string name(group.name);
        print(name.c_str(), "key_up_us", figures.keyUp);
        print(name.c_str(), "key_up_repaint_us", figures.withRepaint);
    }
    return 0;
}
