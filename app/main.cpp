// The program is its main window; files named on the command line become its first rows.
#include "CConverterApp.h"

int main(int argc, char** argv)
{
    CConverterApp app(argc, argv);
    app.InitInstance();
    return 0;
}
