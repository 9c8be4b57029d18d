// The About dialog: title, version line, distribution terms, rights notice
// and the two links to the maker.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tolvu {

class LinkLabel;

// "Version 2.14 -- Build No. 2131" for 2, 14, 2131.
QString versionLine(int major, int minor, int revision);

// The address a click on the mail link hands to the desktop.
QString mailLink(const QString& address, const QString& productName, int major, int minor, int revision);

namespace maker {
inline constexpr char kWebHost[] = "velmora.example";
inline constexpr char kWebAddress[] = "http://velmora.example/index.asp?prodid=tolvu";
inline constexpr char kMailAddress[] = "info@velmora.example";
} // namespace maker

class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void cmdOKClick();
    void lblEmailClick();
    void lblWebSiteClick();

private:
    void formLoad();

    QLabel* lblVersion_ = nullptr;
};

} // namespace tolvu
