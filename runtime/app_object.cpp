#include "app_object.h"

#include <QApplication>
#include <QWidget>

#include <tolvu/version.h>

#include "form_look.h"
#include "system_colors.h"

namespace tolvu::runtime {
namespace {

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

const AppObject& App()
{
    static const AppObject app{fromView(version::kTitle), fromView(version::kProductName),
                               version::kMajor,           version::kMinor,
                               version::kRevision,        fromView(version::kLegalCopyright)};
    return app;
}

void initialise(QApplication& app)
{
    // Docks and task bars tie the window to its menu entry and icon by one
    // name: Qt announces the application name as the X11 window class and
    // the desktop file name as the Wayland app id.
    QApplication::setApplicationName(fromView(version::kAppId));
    QGuiApplication::setDesktopFileName(QGuiApplication::applicationName());
    QApplication::setApplicationVersion(fromView(version::kVersionText));
    QApplication::setOrganizationName(fromView(version::kCompanyName));
    QApplication::setWindowIcon(programIcon());
    registerFormFonts();
    followSystemColors(app);
}

int start(int& argc, char** argv, const std::function<std::unique_ptr<QWidget>()>& createForm)
{
    QApplication app(argc, argv);
    initialise(app);
    const std::unique_ptr<QWidget> form = createForm();
    form->show();
    return QApplication::exec();
}

} // namespace tolvu::runtime
