#include "app/commandline.h"
#include "app/desktopidentity.h"
#include "app/formmain.h"
#include "toolkit/application.h"

int main(int argc, char *argv[])
{
    // Read before the application object exists: --help and --version need
    // no display.
    const CommandLineResult command = parseCommandLine(argumentList(argc, argv));
    if (command.exitCode) {
        printCommandLineResult(command);
        return *command.exitCode;
    }

    Application app(argc, argv);
    applyDesktopIdentity();
    TFormMain FormMain;
    FormMain.show();
    return app.exec();
}
