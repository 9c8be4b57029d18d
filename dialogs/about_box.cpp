#include "about_box.h"

#include <QLabel>
#include <QPushButton>

#include <tolvu/version.h>

#include "app_object.h"
#include "conversions.h"
#include "form_look.h"
#include "link_label.h"
#include "system_colors.h"
#include "web_interface.h"

namespace tolvu {
namespace {

using runtime::twipsRect;

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignTop);
    return label;
}

// One of the two lines that together draw the etched separator.
void addSeparatorLine(QWidget* parent, int index, quint32 color, QRect geometry)
{
    auto* line = new QWidget(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setProperty("index", index);
    line->setGeometry(geometry);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, runtime::resolveColor(color));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
}

} // namespace

QString versionLine(int major, int minor, int revision)
{
    using namespace runtime;
    QString line = QStringLiteral("Version $maj.$min -- Build No. $b");
    line = Replace(line, QStringLiteral("$maj"), CStr(major));
    line = Replace(line, QStringLiteral("$min"), Format(minor, QStringLiteral("00")));
    line = Replace(line, QStringLiteral("$b"), Format(revision, QStringLiteral("0000")));
    return line;
}

QString mailLink(const QString& address, const QString& productName, int major, int minor, int revision)
{
    using namespace runtime;
    const QString formattedMinor = Format(minor, QStringLiteral("00"));
    const QString formattedRevision = Format(revision, QStringLiteral("0000"));
    QString link = QStringLiteral("mailto:$a?subject=$p v$maj.$min (Build $b)");
    link = Replace(link, QStringLiteral("$a"), address);
    link = Replace(link, QStringLiteral("$p"), productName);
    link = Replace(link, QStringLiteral("$maj"), CStr(major));
    link = Replace(link, QStringLiteral("$min"), formattedMinor);
    link = Replace(link, QStringLiteral("$b"), formattedRevision);
    return link;
}

AboutBox::AboutBox(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowIcon(runtime::programIcon());

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(twipsRect(120, 120, 480, 480));
    picIcon->setPixmap(runtime::programIcon().pixmap(QSize(32, 32)));

    QLabel* lblDescription = addLabel(this, "lblDescription",
                                      QString::fromUtf8(version::kDistributionTerms.data(),
                                                        static_cast<qsizetype>(version::kDistributionTerms.size())),
                                      twipsRect(120, 840, 5475, 1410), Qt::AlignLeft);
    lblDescription->setWordWrap(true);
    runtime::setForeColor(lblDescription, runtime::color::kBlack);

    lblVersion_ = addLabel(this, "lblVersion", QString(), twipsRect(840, 120, 4755, 225), Qt::AlignHCenter);
    runtime::setFontBold(lblVersion_, true);
    runtime::setForeColor(lblVersion_, runtime::color::kDesktop);

    addLabel(this, "Label1", runtime::App().legalCopyright, twipsRect(720, 360, 4935, 255), Qt::AlignHCenter);
    runtime::setFontBold(
        addLabel(this, "Label2", QStringLiteral("Velmora Web Site:"), twipsRect(120, 2640, 1575, 255), Qt::AlignRight),
        true);
    runtime::setFontBold(
        addLabel(this, "Label3", QStringLiteral("Velmora Email:"), twipsRect(120, 2880, 1575, 255), Qt::AlignRight),
        true);

    auto* lblWebSite = new LinkLabel(QString::fromLatin1(maker::kWebHost), this);
    lblWebSite->setObjectName(QStringLiteral("lblWebSite"));
    lblWebSite->setGeometry(twipsRect(1800, 2640, 1575, 255));
    lblWebSite->setToolTip(QStringLiteral("Go to Velmora web site."));
    connect(lblWebSite, &LinkLabel::clicked, this, &AboutBox::lblWebSiteClick);

    auto* lblEmail = new LinkLabel(QString::fromLatin1(maker::kMailAddress), this);
    lblEmail->setObjectName(QStringLiteral("lblEmail"));
    lblEmail->setGeometry(twipsRect(1800, 2880, 1935, 255));
    lblEmail->setToolTip(QStringLiteral("Send Email to Velmora"));
    connect(lblEmail, &LinkLabel::clicked, this, &AboutBox::lblEmailClick);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(4080, 2760, 1575, 375));
    cmdOK->setToolTip(QStringLiteral("Closes dialog box."));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &AboutBox::cmdOKClick);

    // Grey above, white below: an etched rule under the description. The
    // white line is two pixels wide and starts one pixel further right.
    using runtime::twips;
    addSeparatorLine(this, 1, runtime::color::kGray,
                     QRect(QPoint(twips(90), twips(2445)), QPoint(twips(5654), twips(2445))));
    addSeparatorLine(this, 0, runtime::color::kWhite,
                     QRect(QPoint(twips(105), twips(2460)), QPoint(twips(5654), twips(2460) + 1)));

    setFixedSize(twipsRect(0, 0, 5775, 3255).size());
    runtime::applyFormFont(this);
    cmdOK->setFocus();
    formLoad();
}

void AboutBox::showEvent(QShowEvent* event)
{
    runtime::centreOverOwner(this);
    QDialog::showEvent(event);
}

void AboutBox::formLoad()
{
    const runtime::AppObject& app = runtime::App();
    const QString line = versionLine(app.major, app.minor, app.revision);
    setWindowTitle(QStringLiteral("About ") + app.title);
    lblVersion_->setText(line);
}

void AboutBox::cmdOKClick()
{
    accept();
}

void AboutBox::lblEmailClick()
{
    const runtime::AppObject& app = runtime::App();
    OpenLink(mailLink(QString::fromLatin1(maker::kMailAddress), app.productName, app.major, app.minor, app.revision));
}

void AboutBox::lblWebSiteClick()
{
    OpenLink(QString::fromLatin1(maker::kWebAddress));
}

} // namespace tolvu
