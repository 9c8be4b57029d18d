#include "credits_box.h"

#include <QLabel>

#include "form_look.h"

namespace tolvu {
namespace {

constexpr char kFirstContributor[] = "Mara Lindqvist";
constexpr char kSecondContributor[] = "Tomas Brenner";

} // namespace

QString creditsText()
{
    const QString crlf = QStringLiteral("\r\n");
    const QString paragraphBreak = crlf + crlf;
    return QStringLiteral("Special thanks to:") + paragraphBreak + QStringLiteral("- ") +
           QLatin1String(kFirstContributor) + QStringLiteral(" for providing conversion formulas.") + paragraphBreak +
           QStringLiteral("- ") + QLatin1String(kSecondContributor) +
           QStringLiteral(" for providing conversion formulas and proof-reading the product.") + paragraphBreak +
           QStringLiteral("- All the people, who download this product and provide feedback.");
}

CreditsBox::CreditsBox(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("creditsBox"));
    setWindowTitle(QStringLiteral("Credits..."));
    setWindowIcon(runtime::programIcon());

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextFormat(Qt::PlainText);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1_->setWordWrap(true);
    label1_->setGeometry(runtime::twipsRect(120, 120, 5295, 1695));

    setFixedSize(runtime::twipsRect(0, 0, 5550, 1935).size());
    runtime::applyFormFont(this);
    formLoad();
}

void CreditsBox::showEvent(QShowEvent* event)
{
    runtime::centreOverOwner(this);
    QDialog::showEvent(event);
}

void CreditsBox::formLoad()
{
    label1_->setText(creditsText());
    // A screen reader reads the label's name as it is: its lines end in a
    // line feed, not in a carriage return it would read out or show.
    label1_->setAccessibleName(creditsText().replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

} // namespace tolvu
