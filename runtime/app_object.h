// The application object and the start routine: the identity values every
// window reads, and the loop that runs the program until its last window
// closes.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QApplication;
class QWidget;

namespace tolvu::runtime {

struct AppObject {
    QString title;
    QString productName;
    int major = 0;
    int minor = 0;
    int revision = 0;
    QString legalCopyright;
};

// The values of the version record the build was configured with.
const AppObject& App();

// Prepares a freshly made QApplication for the forms: names, the program
// icon, the form font and following the desktop's colour scheme.
void initialise(QApplication& app);

// Whether the environment or the arguments name a display, or another
// platform, for the window: without one Qt would end the process blaming
// its own installation.
bool displayNamed(int argc, char** argv);

// Creates the application, loads the start-up form through `createForm`
// (whose constructor runs the form's load handler), shows it and delivers
// events until the last window closes. Returns the process exit status, 2
// for an argument that is not one of Qt's options.
int start(int& argc, char** argv, const std::function<std::unique_ptr<QWidget>()>& createForm);

} // namespace tolvu::runtime
