// Colour through conversions and the preview: bars in every pairing of SD and HD source and
// output in each picture format, HDR tone-mapped as FFmpeg's own chain does, 10-bit ramps dithered.
#include "MediaCheck.h"
#include "engine/CClipReader.h"
#include "engine/CMediaEngine.h"
#include "engine/CPlaybackPipeline.h"
#include "engine/MediaInput.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <QColor>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr double kSpanSeconds = 0.2;

// RGB as players show a picture: by its tags; untagged, BT.709 from 720 lines up, BT.601 below;
// Windows Media always as BT.601.
QImage playerPicture(const AVFrame* frame, bool windowsMedia)
{
    int matrix = windowsMedia ? SWS_CS_ITU601 : frame->colorspace;
    if (matrix == AVCOL_SPC_UNSPECIFIED)
        matrix = frame->height >= 720 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    QImage picture(frame->width, frame->height, QImage::Format_RGB32);
    SwsContext* scaler =
        sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width, frame->height,
                       AV_PIX_FMT_RGB32, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    const int* coefficients = sws_getCoefficients(matrix);
    sws_setColorspaceDetails(scaler, coefficients, frame->color_range == AVCOL_RANGE_JPEG, coefficients, 1, 0,
                             1 << 16, 1 << 16);
    uint8_t* planes[4] = {picture.bits()};
    const int strides[4] = {int(picture.bytesPerLine())};
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(scaler);
    return picture;
}

QImage playerPicture(const QString& path)
{
    const FramePtr frame = firstPicture(path);
    return frame ? playerPicture(frame.get(), path.endsWith(QLatin1String(".wmv"))) : QImage();
}

std::array<double, 3> meanColour(const QImage& picture, double left, double right)
{
    std::array<double, 3> sum{};
    const QRect area(QPoint(int(left * picture.width()), picture.height() / 5),
                     QPoint(int(right * picture.width()), picture.height() * 2 / 5));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            sum = {sum[0] + qRed(pixel), sum[1] + qGreen(pixel), sum[2] + qBlue(pixel)};
        }
    }
    const double count = area.width() * area.height();
    return {sum[0] / count, sum[1] / count, sum[2] / count};
}

// The bars of a colour-bar picture: the runs of one colour along the row at 30 % of its height, at
// least a sixteenth of its width long; the middle half of each, in fractions of the width.
std::vector<std::pair<double, double>> colourBars(const QImage& picture)
{
    std::vector<std::pair<double, double>> bars;
    const int y = picture.height() * 3 / 10;
    const double width = picture.width();
    const auto differs = [&](int x, int start) {
        const QColor a = picture.pixelColor(x, y), b = picture.pixelColor(start, y);
        return std::max({qAbs(a.red() - b.red()), qAbs(a.green() - b.green()), qAbs(a.blue() - b.blue())}) >
               6;
    };
    for (int x = 1, start = 0; x <= picture.width(); ++x) {
        if (x < picture.width() && !differs(x, start))
            continue;
        if (x - start >= width / 16)
            bars.emplace_back((start + (x - start) / 4.0) / width, (x - (x - start) / 4.0) / width);
        start = x;
    }
    return bars;
}

// The worst channel difference of the bars' mean colours, found in expected.
double worstBarDifference(const QImage& expected, const QImage& picture)
{
    const std::vector<std::pair<double, double>> bars = colourBars(expected);
    double worst = picture.isNull() || bars.size() < 7 ? 255.0 : 0.0;
    for (const auto& [left, right] : bars) {
        const std::array<double, 3> want = meanColour(expected, left, right);
        const std::array<double, 3> got = meanColour(picture, left, right);
        for (int channel = 0; channel < 3; ++channel)
            worst = std::max(worst, std::abs(want[channel] - got[channel]));
    }
    return worst;
}

std::vector<int> tagsOf(const VideoColour& colour)
{
    return {colour.matrix, colour.range, colour.primaries, colour.transfer};
}

// The colour tags of the picture stream, first in our outputs, as the container holds them (read
// without probing the bitstream).
VideoColour containerColour(const QString& path)
{
    AVFormatContext* raw = nullptr;
    VideoColour colour;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return colour;
    const AVCodecParameters* stream = raw->streams[0]->codecpar;
    colour = {stream->color_space, stream->color_range, stream->color_primaries, stream->color_trc};
    avformat_close_input(&raw);
    return colour;
}

// The first picture of a fifth of a second of source converted to the profile's size into path.
QImage convertedPicture(const QString& source, const QString& size, const QString& path)
{
    CMediaEngine engine;
    engine.setProfileFile(profilePath(size + QStringLiteral("video.prx")));
    engine.addVideoClip(source, 0.0, kSpanSeconds, 0);
    QSignalSpy finished(&engine, &CMediaEngine::finished);
    const bool written = engine.saveFile(path) && finished.wait(120000) && !engine.lastWriteFailed();
    return written ? playerPicture(path) : QImage();
}

// The first picture the preview shows of the source, at 320x180.
QImage previewPicture(const QString& source)
{
    const MediaInspector inspect = [](const QString& path) { return inspectMedia(path); };
    CPlaybackPipeline pipeline(PlaybackSetup{
        {{{source, 0.0, kSpanSeconds, 0}}, {}}, 320, 180, std::nullopt, AV_SAMPLE_FMT_FLT, inspect});
    pipeline.start();
    const std::optional<QueuedFrame> shown = pipeline.pictures().pop();
    if (!shown)
        return QImage();
    const AVFrame* rgb = shown->frame.get();
    return QImage(rgb->data[0], rgb->width, rgb->height, rgb->linesize[0], QImage::Format_RGB32).copy();
}

} // namespace

class TestEngineColour : public QObject
{
    Q_OBJECT
private slots:
    // Each pairing of SD and HD source and output in each format; the SD to HD rows take a source
    // whose matrix the output's players do not use. HDR into SDR as FFmpeg's tone mapping does it.
    // The preview shows each source by its own matrix and range, and HDR tone-mapped.
    void barsKeepTheirColours_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("output");   // "preview": the pictures the preview shows
        QTest::addColumn<QString>("expected"); // the picture the output should show
        QTest::addColumn<double>("tolerance");
        for (const QString format : {"mp4", "webm", "wmv"}) {
            const QString sdToHd = format == QLatin1String("wmv") ? "bars-sd709.mp4" : "bars-sd601.mp4";
            for (const auto& [source, size] : {std::pair<QString, QString>{"bars-hd.mp4", "320x240"},
                                               {"bars-hd.mp4", "1280x720"},
                                               {"bars-sd709.mp4", "320x240"},
                                               {sdToHd, "1280x720"}})
                QTest::addRow("%s to %s %s", qPrintable(source), qPrintable(size), qPrintable(format))
                    << source << size << "out." + format << source << 3.0;
        }
        QTest::newRow("untagged HD wmv to 1280x720 mp4")
            << "bars-hd.wmv" << QStringLiteral("1280x720") << "out.mp4"
            << "bars-hd.wmv" << 3.0;
        for (const QString name : {"hlg", "pq"})
            QTest::addRow("%s to 1280x720 mp4", qPrintable(name))
                << name + ".mp4" << QStringLiteral("1280x720") << "out.mp4" << name + "-reference.mp4"
                << 12.0;
        QTest::newRow("hlg to 320x240 wmv") << "hlg.mp4" << QStringLiteral("320x240") << "out.wmv"
                                            << "hlg-reference.mp4" << 12.0;
        for (const QString bars : {"bars-hd.mp4", "bars-sd601.mp4", "bars-sd709.mp4"})
            QTest::addRow("%s previewed", qPrintable(bars)) << bars << QString() << "preview" << bars << 3.0;
        QTest::newRow("hlg previewed") << "hlg.mp4" << QString() << "preview"
                                       << "hlg-reference.mp4" << 12.0;
    }
    void barsKeepTheirColours()
    {
        QFETCH(QString, source);
        QFETCH(QString, size);
        QFETCH(QString, output);
        QFETCH(QString, expected);
        QFETCH(double, tolerance);
        const QTemporaryDir folder;
        const QString path = folder.filePath(output);
        const QImage picture = output == QLatin1String("preview")
                                   ? previewPicture(fixturePath(source))
                                   : convertedPicture(fixturePath(source), size, path);
        const double worst = worstBarDifference(playerPicture(fixturePath(expected)), picture);
        QVERIFY2(worst <= tolerance, qPrintable(QString::number(worst)));
        if (!path.endsWith(QLatin1String(".mp4")) && !path.endsWith(QLatin1String(".webm")))
            return; // ASF has no colour tags
        // tagged in the container and the bitstream, where VP9 has room only for matrix and range
        const VideoColour standard = standardColourFor(0, size.startsWith('3') ? 240 : 720);
        VideoColour inBitstream = standard;
        if (output.endsWith(QLatin1String(".webm")))
            inBitstream = {standard.matrix, standard.range, AVCOL_PRI_UNSPECIFIED, AVCOL_TRC_UNSPECIFIED};
        const FramePtr frame = firstPicture(path, true);
        QCOMPARE(tagsOf(containerColour(path)), tagsOf(standard));
        QCOMPARE(tagsOf({frame->colorspace, frame->color_range, frame->color_primaries, frame->color_trc}),
                 tagsOf(inBitstream));
    }

    // 10 bits to 8 without steps: along a smooth ramp no run of one value reaches half the width of
    // an 8-bit step (32 columns here); FFmpeg's own scaler leaves runs of 26.
    void tenBitRampIsDithered()
    {
        MediaError error;
        const VideoFrameFormat format{640, 480, {25, 1}, standardColourFor(640, 480)};
        const MediaClip clip{fixturePath(QStringLiteral("gradient10.mp4")), 0.0, kSpanSeconds, 0};
        const std::unique_ptr<CClipReader> reader = CClipReader::openVideo(clip, format, nullptr, &error);
        const FramePtr picture = allocFrame();
        QVERIFY2(reader && reader->readFrame(picture.get()) == 0, qPrintable(error.text()));
        int longest = 0;
        for (int y = 100; y < 400; y += 50) {
            const uint8_t* row = picture->data[0] + y * picture->linesize[0];
            for (int x = 1, run = 1; x < picture->width; ++x)
                longest = std::max(longest, run = row[x] == row[x - 1] ? run + 1 : 1);
        }
        QVERIFY2(longest < 16, qPrintable(QString::number(longest)));
    }
};

QTEST_GUILESS_MAIN(TestEngineColour)
#include "test_engine_colour.moc"
