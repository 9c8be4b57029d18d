#include "app_object.h"

#include <QApplication>
#include <QWidget>

#include <tolvu/version.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdio>
#include <string_view>

#include "form_look.h"
#include "system_colors.h"

namespace tolvu::runtime {
namespace {

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// glibc raises its threshold for giving a block its own mapping to the size
// of the largest such block freed so far. After the text layout of one long
// paste has been freed, the layouts of the next ones would come from the
// heap, which is hardly ever given back: the program would keep the memory
// of its largest paste for good. A fixed threshold (glibc's default) keeps
// every large block mapped on its own and returned when freed.
void returnLargeBlocksWhenFreed()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
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
    returnLargeBlocksWhenFreed();
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

bool displayNamed(int argc, char** argv)
{
    for (const char* variable : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(variable)) return true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "-display" || arg.starts_with("-platform=")) return true;
    }
    return false;
}

int start(int& argc, char** argv, const std::function<std::unique_ptr<QWidget>()>& createForm)
{
    QApplication app(argc, argv);
    // Qt has taken out the options it knows (-style, -platform...); the
    // program itself has none that open the window.
    if (argc > 1) {
        std::fprintf(stderr, "Tolvu: unknown argument \"%s\"\ntry 'Tolvu --help'\n", argv[1]);
        return 2;
    }
    initialise(app);
    const std::unique_ptr<QWidget> form = createForm();
    form->show();
    return QApplication::exec();
}

} // namespace tolvu::runtime
