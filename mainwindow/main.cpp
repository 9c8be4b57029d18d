// The entry point hands over to the runtime, which loads the main window and
// runs until the last window closes.
#include <memory>

#include "app_object.h"
#include "form1.h"

int main(int argc, char** argv)
{
    return tolvu::runtime::start(argc, argv, [] { return std::make_unique<tolvu::Form1>(); });
}
