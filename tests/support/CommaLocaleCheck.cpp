// Linked into the programs that also run under a comma-decimal locale: a run that
// asks for one makes sure it is really in force, since a locale that is not
// installed falls back to "C" without a word and would prove nothing.
#include <QCoreApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void requireDecimalComma()
{
    if (!qEnvironmentVariableIsSet("VV_EXPECT_DECIMAL_COMMA"))
        return;
    const std::lconv* numbers = std::localeconv();
    if (numbers && std::strcmp(numbers->decimal_point, ",") == 0)
        return;
    std::fprintf(stderr, "skipped: locale %s is not installed (tools/install-deps.sh makes it)\n",
                 qPrintable(qEnvironmentVariable("LC_ALL")));
    std::exit(77);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(requireDecimalComma)
