// Saves a job list of ROWS rows (1000 unless given) RUNS times (50 unless given) the way
// the window keeps it, into a fresh folder; prints the median and the slowest save in ms.
//   vv_joblist_bench [ROWS [RUNS]]
#include "jobs/CJobListStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rowCount = args.size() > 1 ? args[1].toInt() : 1000;
    const int runs = args.size() > 2 ? args[2].toInt() : 50;
    QTemporaryDir folder;
    CJobListStore store(folder.path());
    store.ClaimFile(false);
    SavedJobList list;
    for (int row = 0; row < rowCount; ++row) {
        const QString title = QStringLiteral("Holiday in the mountains, part %1.mpg").arg(row);
        list.rows.append({title, QStringLiteral("12"), QStringLiteral("3600.25"), QStringLiteral("Ready"),
                          true, QStringLiteral("/home/someone/Videos/2026/summer/") + title, QString(),
                          QString()});
    }
    std::vector<double> msPerSave;
    QString failure;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (!store.Save(list, &failure)) {
            std::fprintf(stderr, "vv_joblist_bench: %s\n", qPrintable(failure));
            return 1;
        }
        msPerSave.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(msPerSave.begin(), msPerSave.end());
    std::printf("%.2f %.2f\n", msPerSave[msPerSave.size() / 2], msPerSave.back());
    return 0;
}
