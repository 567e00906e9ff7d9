// Engine rules: profiles, stretch filters (measured through libavfilter), output names, probing.
#include "MediaCheck.h"
#include "engine/CCLocaleScope.h"
#include "engine/FfmpegHandles.h"
#include "engine/MediaFilters.h"
#include "engine/MediaInput.h"
#include "engine/OutputProfile.h"
#include "engine/Saturating.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/log.h>
}

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRect>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The first picture of a white "color" source with options, through the stretch filter into 320x240.
FramePtr stretched(const QString& colorOptions, StretchMode mode)
{
    const CCLocaleScope cNumbers; // as the clip reader parses its graphs
    const QByteArray description = QStringLiteral("color=c=white:%1,%2,format=yuv420p,buffersink")
                                       .arg(colorOptions, stretchFilter(mode, 320, 240))
                                       .toLatin1();
    FilterGraphPtr graph(avfilter_graph_alloc());
    if (!graph ||
        avfilter_graph_parse_ptr(graph.get(), description.constData(), nullptr, nullptr, nullptr) < 0)
        return nullptr;
    AVFilterContext* sink = graph->filters[graph->nb_filters - 1]; // before config adds its own filters
    FramePtr output = allocFrame();
    if (avfilter_graph_config(graph.get(), nullptr) < 0 || av_buffersink_get_frame(sink, output.get()) < 0)
        return nullptr;
    return output;
}

// Bounding box of the pixels that are not black.
QRect pictureBox(const AVFrame* frame)
{
    QRect box;
    for (int y = 0; y < frame->height; ++y) {
        for (int x = 0; x < frame->width; ++x) {
            if (frame->data[0][y * frame->linesize[0] + x] > 60)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class TestEngineRules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { av_log_set_level(AV_LOG_FATAL); } // damaged files are expected here

    void malformedProfilesAreRefused_data()
    {
        const QByteArray good = readFile(profilePath(QStringLiteral("640x480video.prx")));
        QVERIFY(!good.isEmpty());
        const auto changed = [&good](const char* from, const char* to) {
            return QByteArray(good).replace(from, to);
        };
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut in half") << good.left(good.size() / 2);
        QTest::newRow("wrong root") << changed("profile", "profiles");
        QTest::newRow("no streams") << QByteArray("<profile version=\"589824\"></profile>");
        QTest::newRow("no frame time") << changed("avgtimeperframe=\"333333\"", "");
        QTest::newRow("odd width") << changed("biwidth=\"640\"", "biwidth=\"641\"");
        QTest::newRow("audio below 24 kbps") << changed("bitrate=\"64000\"", "bitrate=\"16000\"");
        QTest::newRow("six channels") << changed("nChannels=\"2\"", "nChannels=\"6\"");
        QTest::newRow("96 kHz") << changed("nSamplesPerSec=\"44100\"", "nSamplesPerSec=\"96000\"");
        QTest::newRow("no video bit rate")
            << changed(" bitrate=\"1000000\"", "").replace(" dwbitrate=\"1000000\"", "");
        // numbers out of range, which wrapped or cut short could pass for sensible ones
        QTest::newRow("byte rate x8 wrapping to 64 kbps")
            << changed(" bitrate=\"64000\"", "").replace("\"8000\"", "\"2305843009213701952\"");
        QTest::newRow("height of -2^63") << changed("biheight=\"480\"", "biheight=\"-9223372036854775808\"");
        QTest::newRow("quality wrapping to 50") << changed("quality=\"75\"", "quality=\"4294967346\"");
        QTest::newRow("key frame spacing of centuries") << changed("\"80000000\"", "\"9223372036854775807\"");
        QTest::newRow("frame time beyond 64 bits") << changed("\"333333\"", "\"9223372036854775808\"");
        QTest::newRow("header bit rate wrapping to 1 Mbps")
            << changed(" bitrate=\"1000000\"", "").replace("\"1000000\"", "\"4295967296\"");
        QTest::newRow("channels wrapping to 2") << changed("nChannels=\"2\"", "nChannels=\"4294967298\"");
    }
    void malformedProfilesAreRefused()
    {
        QFETCH(QByteArray, xml);
        QVERIFY(!parseProfile(xml));
    }

    void profileVariantsThatStillRead()
    {
        const QByteArray good = readFile(profilePath(QStringLiteral("320x240video.prx")));
        // attribute names in any case, a top-down (negative) height, the bit rate only in the header
        const std::optional<OutputProfile> profile =
            parseProfile(QByteArray(good)
                             .replace("biwidth", "BIWIDTH")
                             .replace("biheight=\"240\"", "biheight=\"-240\"")
                             .replace(" bitrate=\"384000\"", ""));
        QVERIFY(profile && profile->video);
        QCOMPARE(QSize(profile->video->widthPx, profile->video->heightPx), QSize(320, 240));
        QCOMPARE(profile->video->bitrateBps, 384000);
        // only "High" asks for the slower, better encode
        const auto high = loadProfileFile(profilePath(QStringLiteral("High320x240video.prx")));
        QVERIFY(high && high->video->quality >= kHighQualityThreshold);
        QVERIFY(profile->video->quality < kHighQualityThreshold);

        const std::optional<OutputProfile> soundOnly = parseProfile(withoutStream(good, true));
        QVERIFY(soundOnly && soundOnly->audio && !soundOnly->video);
    }

    // Files over the size limit are refused; a file is read again only when its size or time changed.
    void profileFilesAreLimitedAndReadOncePerVersion()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("custom.prx"));
        const QByteArray small = readFile(profilePath(QStringLiteral("320x240video.prx")));
        const QByteArray large = readFile(profilePath(QStringLiteral("640x480video.prx")));
        const QDateTime saved(QDate(2024, 1, 1), QTime(12, 0));
        const auto widthAfterSaving = [&path](const QByteArray& content, const QDateTime& modified) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(content) != content.size() || !file.flush() ||
                !file.setFileTime(modified, QFileDevice::FileModificationTime))
                return -1;
            file.close();
            const std::optional<OutputProfile> profile = loadProfileFile(path);
            return profile && profile->video ? profile->video->widthPx : 0;
        };
        const auto padded = [&small](qint64 size) { return small + QByteArray(size - small.size(), '\n'); };
        QCOMPARE(widthAfterSaving(padded(kMaxProfileBytes + 1), saved.addSecs(-2)), 0);
        QCOMPARE(widthAfterSaving(padded(kMaxProfileBytes), saved.addSecs(-1)), 320);
        QCOMPARE(widthAfterSaving(small, saved), 320);
        QCOMPARE(widthAfterSaving(QByteArray(small).replace("biwidth=\"320\"", "biwidth=\"322\""), saved),
                 320); // looks unchanged
        QCOMPARE(widthAfterSaving(large, saved), 640);
        QCOMPARE(widthAfterSaving(QByteArray(large).replace("biwidth=\"640\"", "biwidth=\"642\""),
                                  saved.addSecs(1)),
                 642);
    }

    void stretchModesFitThePicture_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("source"); // a white picture, some with a black border
        QTest::addColumn<QRect>("picture");  // where its white lands in 320x240
        const QRect full(0, 0, 320, 240);
        QTest::newRow("stretch 16:9") << 0 << "s=640x360" << full;
        QTest::newRow("keep aspect 16:9") << 2 << "s=640x360" << QRect(0, 30, 320, 180);
        QTest::newRow("keep aspect portrait") << 2 << "s=240x320" << QRect(70, 0, 180, 240);
        // the sides of the border are cut away, top and bottom scaled
        QTest::newRow("crop 16:9") << 3 << "s=640x360,drawbox=c=black:t=40" << QRect(0, 27, 320, 186);
        QTest::newRow("crop portrait") << 3 << "s=240x320" << full;
        QTest::newRow("no resize smaller") << 1 << "s=160x120" << QRect(80, 60, 160, 120);
        QTest::newRow("no resize larger") << 1 << "s=720x576,drawbox=c=black:t=200" << QRect(0, 32, 320, 176);
    }
    void stretchModesFitThePicture()
    {
        QFETCH(int, mode);
        QFETCH(QString, source);
        QFETCH(QRect, picture);
        const FramePtr output = stretched(source, StretchMode(mode));
        QVERIFY(output);
        QCOMPARE(QSize(output->width, output->height), QSize(320, 240));
        QCOMPARE(output->sample_aspect_ratio.num, output->sample_aspect_ratio.den);
        const QRect found = pictureBox(output.get());
        QVERIFY2(found.adjusted(-1, -1, 1, 1).contains(picture) &&
                     picture.adjusted(-1, -1, 1, 1).contains(found),
                 qPrintable(QString::asprintf("picture at %d,%d %dx%d", found.x(), found.y(), found.width(),
                                              found.height())));
    }

    void probing_data()
    {
        QTest::addColumn<QString>("path");   // relative: a copy of clip.mpg under that name
        QTest::addColumn<double>("seconds"); // 0.0: not readable media
        QTest::addColumn<QString>("error");  // empty: not checked
        const auto row = [](const char* name, const QString& path, double seconds, const char* error = "") {
            QTest::newRow(name) << path << seconds << QString::fromUtf8(error);
        };
        for (const char* name :
             {"clip.mpg", "clip.mpeg", "clip.avi", "clip.wmv", "clip.asf", "shortsound.avi"})
            row(name, fixturePath(QLatin1String(name)), 3.0);
        for (const char* name : kTodaysFixtures)
            row(name, fixturePath(QLatin1String(name)), 1.0);
        // AVI counts its packets' times: a byte seek to its last stretch would make them early
        row("AVI longer than the stretch read at its end", fixturePath(QStringLiteral("long.avi")), 110.0);
        // its header claims 1844674407367.9 s; the timestamps at its end say 3 s
        row("lying header", fixturePath(QStringLiteral("lyingduration.asf")), 3.0);
        // MP4 and MOV refuse byte seeks; Matroska lands nowhere after one: all are sought by time
        for (const char* name : {"overclaim.mp4", "overclaim.mov", "overclaim.webm", "overclaim.mkv"})
            row(name, fixturePath(QLatin1String(name)), 1.0);
        // a header that claims 3 ms of a second's data
        row("underclaim.mp4", fixturePath(QStringLiteral("underclaim.mp4")), 1.0);
        for (const char* name :
             {"empty.avi", "text.avi", "random.mpg", "truncated.wmv", "headercut.asf", "none.mpg"})
            row(name, fixturePath(QLatin1String(name)), 0.0);
        row("unknown codec", fixturePath(QStringLiteral("unknowncodec.avi")), 0.0,
            "decode: no decoder for this stream's format (unknowncodec.avi)");
        // names are taken literally, never as a protocol prefix or a pattern
        for (const char* name : {"http:clip.mpg", "concat:a.mpg", "ünï 名前 #1 %20 %d.mpg"})
            row(name, QString::fromUtf8(name), 3.0);
#ifdef Q_OS_UNIX
        // opening a pipe or a device would block the thread with no interrupt to reach it
        row("device", QStringLiteral("/dev/zero"), 0.0, "open: not a regular file (zero)");
#endif
    }
    void probing()
    {
        QFETCH(QString, path);
        QFETCH(double, seconds);
        QFETCH(QString, error);
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        if (QDir::isRelativePath(path))
            QVERIFY(QFile::copy(fixturePath(QStringLiteral("clip.mpg")), path));
        MediaError probeError;
        const double probed = probeDurationSeconds(path, &probeError);
        const std::optional<MediaInfo> info = inspectMedia(path);
        QDir::setCurrent(previous);
        QVERIFY2(seconds > 0.0 ? qAbs(probed - seconds) < 0.15 : probed == 0.0,
                 qPrintable(QString::number(probed)));
        QCOMPARE(info && info->hasVideo && info->hasAudio, seconds > 0.0);
        if (!error.isEmpty())
            QCOMPARE(probeError.text(), error);
    }

    void timestampArithmeticSaturates()
    {
        constexpr int64_t max = std::numeric_limits<int64_t>::max();
        constexpr int64_t min = std::numeric_limits<int64_t>::min();
        QCOMPARE(saturatingAdd(max - 1, 5), kMaxTimestamp);
        QCOMPARE(saturatingAdd(min + 3, -5), kMinTimestamp); // never AV_NOPTS_VALUE
        QCOMPARE(saturatingSub(5, min), kMaxTimestamp);
        QCOMPARE(saturatingSub(-5, min), max - 4);
        QCOMPARE(saturatingSub(min, 1), kMinTimestamp);
    }
};

QTEST_GUILESS_MAIN(TestEngineRules)
#include "test_engine_rules.moc"
