#include "app/formmain.h"
#include "toolkit/application.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TFormMain FormMain;
    FormMain.show();
    return app.exec();
}
