// Runs a fuzz harness over saved inputs without libFuzzer, so every build replays the
// committed corpus as an ordinary test. Arguments are files or folders of files.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// The files an argument names, folders' in name order; empty for a missing path or an
// empty folder, which is an error rather than nothing to do.
QStringList inputsOf(const QString& argument)
{
    const QFileInfo info(argument);
    if (info.isFile())
        return {argument};
    QStringList files;
    if (info.isDir()) {
        for (const QFileInfo& entry : QDir(argument).entryInfoList(QDir::Files, QDir::Name))
            files << entry.filePath();
    }
    return files;
}

bool replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    // Printed first, so the last line names the input when a crash follows.
    std::printf("%s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const QStringList inputs = inputsOf(QString::fromLocal8Bit(argv[i]));
        if (inputs.isEmpty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const QString& input : inputs) {
            if (!replay(input)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(input));
                return 1;
            }
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
