#include "text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace tolvu::runtime {
namespace {

// Replaces the selection, or inserts at the cursor, without a trace in the
// undo history; the cursor ends after the inserted text, as after a paste.
void setTextUnrecorded(QLineEdit* box, const QString& inserted)
{
    const int start = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    QString text = box->text();
    text.replace(start, box->selectionLength(), inserted);
    box->setText(text);
    box->setCursorPosition(start + static_cast<int>(inserted.size()));
}

// Makes the edit that replaces the selection (or inserts at the cursor)
// with `inserted` unrecorded if it is large; false leaves it to the box.
bool editUnrecorded(QLineEdit* box, const QString& inserted)
{
    if (box->selectionLength() + inserted.size() < kLargeEdit) return false;
    setTextUnrecorded(box, inserted);
    return true;
}

bool cutUnrecorded(QLineEdit* box)
{
    if (box->selectionLength() < kLargeEdit) return false;
    QGuiApplication::clipboard()->setText(box->selectedText());
    return editUnrecorded(box, {});
}

QString clipboardText(QClipboard::Mode mode)
{
    return QGuiApplication::clipboard()->text(mode);
}

// Qt versions connect the menu's actions to the box by name or by member.
bool disconnectFromBox(QAction* action, QLineEdit* box, void (QLineEdit::*slot)(), const char* slotName)
{
    return QObject::disconnect(action, &QAction::triggered, box, slot) ||
           QObject::disconnect(action, SIGNAL(triggered()), box, slotName);
}

class UndoBound : public QObject {
public:
    explicit UndoBound(QLineEdit* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_ || box_->isReadOnly()) return false;
        switch (event->type()) {
        case QEvent::KeyPress: return keyPress(*static_cast<QKeyEvent*>(event));
        case QEvent::ContextMenu: return contextMenu(*static_cast<QContextMenuEvent*>(event));
        case QEvent::MouseButtonRelease:
            // The middle button pastes the X11 selection where it was pressed.
            if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
                !QGuiApplication::clipboard()->supportsSelection())
                return false;
            if (clipboardText(QClipboard::Selection).size() < kLargeEdit) return false;
            box_->deselect();
            return editUnrecorded(box_, clipboardText(QClipboard::Selection));
        default: return false;
        }
    }

private:
    bool keyPress(const QKeyEvent& key)
    {
        if (key.matches(QKeySequence::Paste)) {
            // Ctrl+Shift+Insert pastes the X11 selection, as in the box itself.
            const bool selection = key.key() == Qt::Key_Insert &&
                                   key.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
                                   QGuiApplication::clipboard()->supportsSelection();
            return editUnrecorded(box_, clipboardText(selection ? QClipboard::Selection : QClipboard::Clipboard));
        }
        if (key.matches(QKeySequence::Cut)) return cutUnrecorded(box_);
        // What else replaces or removes the selection: plain Backspace or
        // Delete, and typing over it.
        if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete) return editUnrecorded(box_, {});
        if (!key.text().isEmpty() && key.text().front().isPrint()) return editUnrecorded(box_, key.text());
        return false;
    }

    // The box's own menu, with Paste and Cut going through the functions
    // above.
    bool contextMenu(const QContextMenuEvent& event)
    {
        QMenu* menu = box_->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QLineEdit* box = box_;
        for (QAction* action : menu->actions()) {
            if (disconnectFromBox(action, box, &QLineEdit::paste, SLOT(paste()))) {
                QObject::connect(action, &QAction::triggered, box, [box] {
                    if (!editUnrecorded(box, clipboardText(QClipboard::Clipboard))) box->paste();
                });
            }
            if (disconnectFromBox(action, box, &QLineEdit::cut, SLOT(cut()))) {
                QObject::connect(action, &QAction::triggered, box, [box] {
                    if (!cutUnrecorded(box)) box->cut();
                });
            }
        }
        menu->popup(event.globalPos());
        return true;
    }

    QLineEdit* box_;
};

} // namespace

void boundUndoHistory(QLineEdit* box)
{
    box->installEventFilter(new UndoBound(box));
}

} // namespace tolvu::runtime
