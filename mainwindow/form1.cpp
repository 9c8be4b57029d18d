#include "form1.h"

#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>
#include <limits>
#include <vector>

#include "about_box.h"
#include "app_object.h"
#include "conversions.h"
#include "credits_box.h"
#include "form_look.h"
#include "rule.h"
#include "system_colors.h"
#include "text_box.h"
#include "unit_box.h"

namespace tolvu {
namespace {

using runtime::twipsRect;

constexpr int kBoxWidth = 1575;
constexpr int kBoxHeight = 285;
constexpr int kLabelHeight = 255;
// A caption label starts this far above its box; its last 15 twips lie
// under the box.
constexpr int kLabelRise = 240;

struct BoxPlace {
    Box box;
    const char* label;
    int left;
    int top;
    int tabIndex;
    int labelWidth;
};

// clang-format off
constexpr std::array<BoxPlace, kBoxCount> kBoxPlaces = {{
    {Box::mmBox,      "Label1",   120,  360,  1,  855},
    {Box::cmBox,      "label100", 1800, 360,  3,  975},
    {Box::mBox,       "label3",   3480, 360,  5,  615},
    {Box::kmBox,      "Label4",   5160, 360,  7,  975},
    {Box::inchBox,    "Label5",   120,  960,  9,  615},
    {Box::feetBox,    "Label6",   1800, 960,  11, 855},
    {Box::yardBox,    "Label7",   3480, 960,  13, 855},
    {Box::mileBox,    "Label2",   5160, 960,  15, 855},
    {Box::mgBox,      "label101", 120,  1800, 17, 855},
    {Box::gBox,       "label15",  1800, 1800, 19, 855},
    {Box::kgBox,      "Label13",  3480, 1800, 21, 1095},
    {Box::mtBox,      "Label12",  5160, 1800, 23, 975},
    {Box::ozBox,      "Label11",  120,  2400, 25, 855},
    {Box::lbsBox,     "Label10",  1800, 2400, 27, 855},
    {Box::stBox,      "Label9",   3480, 2400, 29, 855},
    {Box::ltBox,      "Label8",   5160, 2400, 31, 855},
    {Box::mlBox,      "Label14",  120,  3240, 33, 855},
    {Box::clBox,      "Label16",  1800, 3240, 35, 855},
    {Box::dlBox,      "Label17",  3480, 3240, 37, 855},
    {Box::lBox,       "Label19",  5160, 3240, 39, 855},
    {Box::flozBox,    "Label20",  120,  3840, 41, 855},
    {Box::pintBox,    "Label21",  1800, 3840, 43, 855},
    {Box::quartBox,   "Label22",  3480, 3840, 45, 855},
    {Box::gallonBox,  "Label23",  5160, 3840, 47, 855},
    {Box::kelvinBox,  "Label18",  120,  4680, 49, 1095},
    {Box::celciusBox, "Label24",  1800, 4680, 51, 1095},
    {Box::fahrBox,    "Label25",  3480, 4680, 53, 1095},
    {Box::secBox,     "Label26",  120,  5520, 55, 1095},
    {Box::minBox,     "Label27",  1800, 5520, 57, 1095},
    {Box::hourBox,    "Label28",  3480, 5520, 59, 1095},
    {Box::dayBox,     "Label29",  5160, 5520, 61, 1095},
}};

struct ButtonPlace {
    const char* name;
    const char* caption;
    int top;
    int tabIndex;
    const char* toolTip;
};

constexpr int kButtonLeft = 6840;
constexpr int kButtonWidth = 1575;
constexpr int kButtonHeight = 375;

constexpr std::array<ButtonPlace, 3> kButtonPlaces = {{
    {"exitButton",    "E&xit",      360,  62, " Exit Program "},
    {"creditsButton", "Credits...", 960,  63, " View Credits "},
    {"aboutButton",   "About...",   1440, 64, " About Velmora Convert "},
}};
// clang-format on

constexpr char kInfoText[] = "Right-click a box and select Copy from the context menu to place a value on the Windows "
                             "clipboard. You can then paste it into another application.";

QString qtText(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The caption of a box's label as the user reads it: "Me&ters:" -> "Meters".
QString unitCaption(Box box)
{
    QString caption = qtText(boxInfo(box).caption);
    caption.remove(QLatin1Char('&'));
    if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
    return caption;
}

// Losing the focus to another window or a popup menu and getting it back
// is not the user moving between the controls of this window.
bool isWindowSwitch(const QFocusEvent* event)
{
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

// Selects the whole text with the cursor at its start: a line edit scrolls
// to its cursor, and a value wider than its box must show its first digits.
void selectWholeText(QLineEdit* box)
{
    const int length = static_cast<int>(box->text().size());
    box->setSelection(length, -length);
}

// The main window is a plain widget, which a screen reader would otherwise
// be shown as a filler, not as the window it is.
QAccessibleInterface* accessibleForm1(const QString& className, QObject* object)
{
    if (className != QLatin1String(Form1::staticMetaObject.className())) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

// Installed before the window exists: a screen reader asks about a widget
// while it is being built, and the answer is kept for the widget's life.
[[maybe_unused]] const bool kAccessibleForm1 = (QAccessible::installFactory(accessibleForm1), true);

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(runtime::programIcon());
    // The form font before any control: controls built with the application
    // font would load a second font at start and all be laid out again when
    // the form font reached them.
    setFont(runtime::formFont());

    std::vector<std::pair<int, QWidget*>> tabOrder;

    for (const BoxPlace& place : kBoxPlaces) {
        const BoxInfo& info = boxInfo(place.box);
        // The label first, so that the box is drawn over its last row.
        auto* label = new QLabel(qtText(info.caption), this);
        label->setObjectName(QLatin1String(place.label));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(twipsRect(place.left, place.top - kLabelRise, place.labelWidth, kLabelHeight));

        auto* box = new runtime::UnitBox(this);
        box->setObjectName(qtText(info.name));
        box->setGeometry(twipsRect(place.left, place.top, kBoxWidth, kBoxHeight));
        box->setToolTip(QLatin1Char(' ') + qtText(groupInfo(info.group).name) + QLatin1Char(' '));
        // Qt cuts a line edit's text at 32,767 characters by default; a box
        // keeps all of a long paste, which the parse reads in linear time.
        box->setMaxLength(std::numeric_limits<int>::max());
        runtime::setForeColor(box, runtime::color::kWindowText);
        box->installEventFilter(this);
        runtime::boundUndoHistory(box);
        label->setBuddy(box);

        boxes_[static_cast<std::size_t>(place.box)] = box;
        tabOrder.emplace_back(place.tabIndex, box);
    }

    std::array<QPushButton*, kButtonPlaces.size()> buttons{};
    for (std::size_t i = 0; i < kButtonPlaces.size(); ++i) {
        const ButtonPlace& place = kButtonPlaces[i];
        auto* button = new QPushButton(QString::fromLatin1(place.caption), this);
        button->setObjectName(QLatin1String(place.name));
        button->setGeometry(twipsRect(kButtonLeft, place.top, kButtonWidth, kButtonHeight));
        button->setToolTip(QString::fromLatin1(place.toolTip));
        // Enter presses the button that has the focus, as Space does.
        button->setAutoDefault(true);
        buttons[i] = button;
        tabOrder.emplace_back(place.tabIndex, button);
    }
    exitButton_ = buttons[0];
    connect(buttons[0], &QPushButton::clicked, this, &Form1::exitButtonClick);
    connect(buttons[1], &QPushButton::clicked, this, &Form1::creditsButtonClick);
    connect(buttons[2], &QPushButton::clicked, this, &Form1::aboutButtonClick);

    auto* lblInfo = new QLabel(QString::fromLatin1(kInfoText), this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInfo->setWordWrap(true);
    lblInfo->setGeometry(twipsRect(kButtonLeft, 2400, 1575, 1695));

    std::sort(tabOrder.begin(), tabOrder.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    // Exit is the window's cancel button. There is no default button, so
    // Enter in a unit box never ends the program; on a focused button it
    // presses that button.
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancel, &QShortcut::activated, exitButton_, &QPushButton::click);

    setFixedSize(twipsRect(0, 0, 8535, 5895).size());
    runtime::applyFormFont(this);
    tabOrder.front().second->setFocus();
    formLoad();
}

void Form1::formLoad()
{
    const runtime::AppObject& app = runtime::App();
    setWindowTitle(app.productName + QLatin1Char(' ') + runtime::CStr(app.major) + QLatin1Char('.') +
                   runtime::CStr(app.minor));
}

std::optional<Box> Form1::boxOf(const QObject* object) const
{
    const auto it = std::find(boxes_.begin(), boxes_.end(), object);
    if (it == boxes_.end()) return std::nullopt;
    return static_cast<Box>(it - boxes_.begin());
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    const std::optional<Box> box = boxOf(watched);
    if (!box) return QWidget::eventFilter(watched, event);
    QLineEdit* edit = unitBox(*box);
    switch (event->type()) {
    case QEvent::KeyRelease:
        if (const auto key = runtime::keyUpFrom(*static_cast<QKeyEvent*>(event))) unitBoxKeyUp(*box, *key);
        break;
    case QEvent::FocusIn:
        if (!(isWindowSwitch(static_cast<QFocusEvent*>(event)) && highlighted_ == edit)) unitBoxGotFocus(edit);
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) clickFocused_ = edit;
        break;
    case QEvent::FocusOut:
        if (!isWindowSwitch(static_cast<QFocusEvent*>(event))) unitBoxLostFocus(edit);
        clickFocused_ = nullptr;
        break;
    case QEvent::MouseButtonRelease:
        // The press of the click that brought the focus has put the caret
        // where it was; unless the press began a drag over part of the text,
        // the click selects the whole text as Tab does. Later clicks place
        // the caret.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && clickFocused_ == edit) {
            clickFocused_ = nullptr;
            if (!edit->hasSelectedText()) selectWholeText(edit);
        }
        break;
    default: break;
    }
    return false;
}

void Form1::unitBoxKeyUp(Box source, runtime::KeyUp key)
{
    const std::string text = unitBox(source)->text().toStdString();
    const Recalculation result = recalculate(source, key.key, key.shift, text);
    for (const Write& write : result.writes()) {
        QLineEdit* target = unitBox(write.target);
        target->setText(qtText(write.text.view()));
        // setText leaves the cursor at the end, and a line edit scrolls to
        // its cursor: a long value would show only its last digits.
        target->setCursorPosition(0);
    }
    if (const std::optional<Box> target = result.overflowAt()) {
        // Shown once this key event is done with, so the message box's own
        // event loop never runs inside the key handler.
        const bool changedAny = !result.writes().empty();
        QMetaObject::invokeMethod(
            this, [this, source, target = *target, changedAny] { reportOverflow(source, target, changedAny); },
            Qt::QueuedConnection);
    }
}

void Form1::reportOverflow(Box source, Box target, bool changedAny)
{
    QMessageBox message(QMessageBox::Warning, runtime::App().title,
                        QStringLiteral("Overflow: the value in %1 is too large to be shown in %2.\n\n")
                                .arg(unitCaption(source), unitCaption(target)) +
                            (changedAny ? QStringLiteral("The boxes before %1 show their new values; %1 and the "
                                                         "boxes after it keep their previous values.")
                                              .arg(unitCaption(target))
                                        : QStringLiteral("No other box was changed.")),
                        QMessageBox::Ok, this);
    // In the form's font rather than the desktop's, like the window it
    // speaks for.
    message.setFont(font());
    message.exec();
}

void Form1::unitBoxGotFocus(QLineEdit* box)
{
    highlighted_ = box;
    runtime::setForeColor(box, runtime::color::kHighlight);
    runtime::setFontBold(box, true);
    selectWholeText(box);
}

void Form1::unitBoxLostFocus(QLineEdit* box)
{
    if (highlighted_ == box) highlighted_ = nullptr;
    runtime::setForeColor(box, runtime::color::kWindowText);
    runtime::setFontBold(box, false);
}

void Form1::exitButtonClick()
{
    close();
}

void Form1::creditsButtonClick()
{
    CreditsBox dialog(this);
    dialog.exec();
}

void Form1::aboutButtonClick()
{
    AboutBox dialog(this);
    dialog.exec();
}

} // namespace tolvu
