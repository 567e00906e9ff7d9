// Command-line arguments are not used; the program is its main window.
#include "CConverterApp.h"

int main(int argc, char** argv)
{
    CConverterApp app(argc, argv);
    app.InitInstance();
    return 0;
}
