// The application object: builds the main window, runs it modally, and ends.
#pragma once

#include <QApplication>
#include <QStringList>

// What the program prints instead of opening its window: the usage when an argument is
// "--help", the version when one is "--version" (the first of them counts); empty for
// any other arguments, which are all taken as files. Needs no application object.
QString CommandLineAnswer(const QStringList& arguments);

class CConverterApp : public QApplication
{
    Q_OBJECT
public:
    CConverterApp(int& argc, char** argv);

    // Runs the main window, with the files named on the command line added, until it
    // closes; always false, so the program then ends.
    bool InitInstance();

private:
    QStringList m_files; // the command line's arguments, Qt's options taken out
};
