// The engine's pure rules: profile reading, the audio bit rate codes, the stretch
// filters (run through libavfilter and measured), output and temporary names.
#include "engine/CAsfWriter.h"
#include "engine/MediaFilters.h"
#include "engine/OutputNaming.h"
#include "engine/OutputProfile.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

#include <QFile>
#include <QRect>
#include <QtTest>

namespace {

QByteArray shippedProfile(const QString& name)
{
    QFile file(QStringLiteral(VV_PROFILES_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct InOutFreer
{
    void operator()(AVFilterInOut* inOut) const { avfilter_inout_free(&inOut); }
};

// A mid-grey picture with a white rectangle, in yuv420p.
FramePtr makePicture(int width, int height, const QRect& white)
{
    FramePtr frame = allocFrame();
    frame->width = width;
    frame->height = height;
    frame->format = AV_PIX_FMT_YUV420P;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            frame->data[0][y * frame->linesize[0] + x] = white.contains(x, y) ? 235 : 128;
    }
    for (int plane = 1; plane < 3; ++plane) {
        for (int y = 0; y < height / 2; ++y)
            memset(frame->data[plane] + y * frame->linesize[plane], 128, size_t(width / 2));
    }
    return frame;
}

// Runs one picture through the stretch filter into a 320x240 frame.
FramePtr stretched(StretchMode mode, const AVFrame* input, AVRational pixelAspect)
{
    FilterGraphPtr graph(avfilter_graph_alloc());
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    const QByteArray args = QStringLiteral("video_size=%1x%2:pix_fmt=%3:time_base=1/25:pixel_aspect=%4/%5")
                                .arg(input->width)
                                .arg(input->height)
                                .arg(int(AV_PIX_FMT_YUV420P))
                                .arg(pixelAspect.num)
                                .arg(pixelAspect.den)
                                .toLatin1();
    if (avfilter_graph_create_filter(&source, avfilter_get_by_name("buffer"), "in", args.constData(), nullptr,
                                     graph.get()) < 0 ||
        avfilter_graph_create_filter(&sink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                     graph.get()) < 0)
        return nullptr;
    AVFilterInOut* inputs = nullptr;
    AVFilterInOut* outputs = nullptr;
    const QByteArray description = (stretchFilter(mode, 320, 240) + QStringLiteral(",format=yuv420p")).toLatin1();
    const int parsed = avfilter_graph_parse2(graph.get(), description.constData(), &inputs, &outputs);
    std::unique_ptr<AVFilterInOut, InOutFreer> inputsOwner(inputs);
    std::unique_ptr<AVFilterInOut, InOutFreer> outputsOwner(outputs);
    if (parsed < 0 || avfilter_link(source, 0, inputs->filter_ctx, unsigned(inputs->pad_idx)) < 0 ||
        avfilter_link(outputs->filter_ctx, unsigned(outputs->pad_idx), sink, 0) < 0 ||
        avfilter_graph_config(graph.get(), nullptr) < 0)
        return nullptr;
    FramePtr copy = allocFrame();
    av_frame_ref(copy.get(), input);
    copy->pts = 0;
    FramePtr output = allocFrame();
    if (av_buffersrc_add_frame(source, copy.get()) < 0 || av_buffersrc_add_frame(source, nullptr) < 0 ||
        av_buffersink_get_frame(sink, output.get()) < 0)
        return nullptr;
    return output;
}

// Bounding box of the pixels brighter than grey, and of the pixels not black.
QRect boxWhere(const AVFrame* frame, int minimumLuma)
{
    QRect box;
    for (int y = 0; y < frame->height; ++y) {
        for (int x = 0; x < frame->width; ++x) {
            if (frame->data[0][y * frame->linesize[0] + x] >= minimumLuma)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

constexpr int kWhite = 200;
constexpr int kNotBlack = 60;

} // namespace

class TestEngineRules : public QObject
{
    Q_OBJECT
private slots:
    void shippedProfiles_data();
    void shippedProfiles();
    void malformedProfilesAreRefused_data();
    void malformedProfilesAreRefused();
    void profileVariantsThatStillRead();
    void audioCodesGiveFormatsTheEncoderTakes();
    void stretchModesFitThePicture_data();
    void stretchModesFitThePicture();
    void noResizeKeepsPixelsAtTheirSize();
    void outputKindAndTemporaryNames();
};

void TestEngineRules::shippedProfiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("videoBps");
    QTest::addColumn<bool>("high");
    QTest::newRow("320x240") << "320x240video.prx" << 320 << 240 << 384000 << false;
    QTest::newRow("High 320x240") << "High320x240video.prx" << 320 << 240 << 768000 << true;
    QTest::newRow("640x480") << "640x480video.prx" << 640 << 480 << 1000000 << false;
    QTest::newRow("High 640x480") << "High640x480video.prx" << 640 << 480 << 2000000 << true;
}

void TestEngineRules::shippedProfiles()
{
    QFETCH(QString, file);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, videoBps);
    QFETCH(bool, high);
    const std::optional<OutputProfile> profile = parseProfile(shippedProfile(file));
    QVERIFY(profile && profile->video && profile->audio);
    QCOMPARE(profile->video->widthPx, width);
    QCOMPARE(profile->video->heightPx, height);
    QCOMPARE(profile->video->bitrateBps, videoBps);
    QCOMPARE(av_q2d(profile->video->maxFrameRate), 30.0);
    QCOMPARE(profile->video->keyFrameSpacingSeconds, 8.0);
    QCOMPARE(profile->video->quality >= kHighQualityThreshold, high);
    QCOMPARE(profile->audio->channels, 2);
    // the encoders accept what the profile asks for
    QVERIFY(openVideoEncoder(VideoEncoding{*profile->video, AVRational{25, 1}}));
    QVERIFY(openAudioEncoder(*profile->audio));
}

void TestEngineRules::malformedProfilesAreRefused_data()
{
    const QByteArray good = shippedProfile(QStringLiteral("640x480video.prx"));
    QVERIFY(!good.isEmpty());
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not xml") << QByteArray("320x240, 25 fps, 384 kbps");
    QTest::newRow("cut in half") << good.left(good.size() / 2);
    QTest::newRow("wrong root") << QByteArray(good).replace("<profile", "<profiles").replace("</profile>", "</profiles>");
    QTest::newRow("no streams") << QByteArray("<profile version=\"589824\"></profile>");
    QTest::newRow("no frame time") << QByteArray(good).replace("avgtimeperframe=\"333333\"", "");
    QTest::newRow("zero frame time") << QByteArray(good).replace("avgtimeperframe=\"333333\"", "avgtimeperframe=\"0\"");
    QTest::newRow("odd width") << QByteArray(good).replace("biwidth=\"640\"", "biwidth=\"641\"");
    QTest::newRow("huge width") << QByteArray(good).replace("biwidth=\"640\"", "biwidth=\"99999999999\"");
    QTest::newRow("width not a number") << QByteArray(good).replace("biwidth=\"640\"", "biwidth=\"wide\"");
    QTest::newRow("audio below 24 kbps") << QByteArray(good).replace("bitrate=\"64000\"", "bitrate=\"16000\"");
    QTest::newRow("six channels") << QByteArray(good).replace("nChannels=\"2\"", "nChannels=\"6\"");
    QTest::newRow("96 kHz") << QByteArray(good).replace("nSamplesPerSec=\"44100\"", "nSamplesPerSec=\"96000\"");
    QTest::newRow("no video bit rate")
        << QByteArray(good).replace(" bitrate=\"1000000\"", "").replace(" dwbitrate=\"1000000\"", "");
}

void TestEngineRules::malformedProfilesAreRefused()
{
    QFETCH(QByteArray, xml);
    QVERIFY(!parseProfile(xml));
}

void TestEngineRules::profileVariantsThatStillRead()
{
    const QByteArray good = shippedProfile(QStringLiteral("320x240video.prx"));
    // attribute names in any case, a bottom-up height, the bit rate only in the header
    const QByteArray variant = QByteArray(good)
                                   .replace("biwidth", "BIWIDTH")
                                   .replace("biheight=\"240\"", "biheight=\"-240\"")
                                   .replace(" bitrate=\"384000\"", "");
    const std::optional<OutputProfile> profile = parseProfile(variant);
    QVERIFY(profile && profile->video);
    QCOMPARE(profile->video->widthPx, 320);
    QCOMPARE(profile->video->heightPx, 240);
    QCOMPARE(profile->video->bitrateBps, 384000);

    // a profile with sound only
    const int videoStart = good.lastIndexOf("<streamconfig");
    const int videoEnd = good.lastIndexOf("</streamconfig>") + int(strlen("</streamconfig>"));
    const QByteArray soundOnly = QByteArray(good).remove(videoStart, videoEnd - videoStart);
    const std::optional<OutputProfile> audioProfile = parseProfile(soundOnly);
    QVERIFY(audioProfile && audioProfile->audio && !audioProfile->video);

    QVERIFY(!loadProfileFile(QString()));
    QVERIFY(!loadProfileFile(QStringLiteral("/no/such/folder/320x240video.prx")));
}

void TestEngineRules::audioCodesGiveFormatsTheEncoderTakes()
{
    QVERIFY(!audioFormatForCode(14));
    QVERIFY(!audioFormatForCode(22));
    int previousBps = 0;
    for (int code = 15; code <= 21; ++code) {
        const std::optional<AudioFormat> format = audioFormatForCode(code);
        QVERIFY(format);
        QCOMPARE(format->channels, code == 15 ? 1 : 2); // "Mono 28.8kbps" first
        QVERIFY2(format->bitrateBps >= previousBps, qPrintable(QString::number(code)));
        previousBps = format->bitrateBps;
        QVERIFY2(openAudioEncoder(*format), qPrintable(QString::number(code)));
    }
    QCOMPARE(audioFormatForCode(15)->bitrateBps, 28800);
    QCOMPARE(audioFormatForCode(21)->bitrateBps, 128000);
}

void TestEngineRules::stretchModesFitThePicture_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("pixelAspect");
    QTest::addColumn<QRect>("picture"); // where the (all white) source lands in 320x240
    const QSize square(1, 1);
    QTest::newRow("stretch 16:9") << 0 << QSize(640, 360) << square << QRect(0, 0, 320, 240);
    QTest::newRow("keep aspect 16:9") << 2 << QSize(640, 360) << square << QRect(0, 30, 320, 180);
    QTest::newRow("keep aspect portrait") << 2 << QSize(240, 320) << square << QRect(70, 0, 180, 240);
    QTest::newRow("keep aspect anamorphic PAL") << 2 << QSize(352, 288) << QSize(16, 11) << QRect(0, 30, 320, 180);
    QTest::newRow("keep aspect 4:3") << 2 << QSize(160, 120) << square << QRect(0, 0, 320, 240);
    QTest::newRow("crop 16:9") << 3 << QSize(640, 360) << square << QRect(0, 0, 320, 240);
    QTest::newRow("crop portrait") << 3 << QSize(240, 320) << square << QRect(0, 0, 320, 240);
    QTest::newRow("no resize smaller") << 1 << QSize(160, 120) << square << QRect(80, 60, 160, 120);
    QTest::newRow("no resize larger") << 1 << QSize(720, 576) << square << QRect(0, 0, 320, 240);
}

void TestEngineRules::stretchModesFitThePicture()
{
    QFETCH(int, mode);
    QFETCH(QSize, source);
    QFETCH(QSize, pixelAspect);
    QFETCH(QRect, picture);
    FramePtr input = makePicture(source.width(), source.height(), QRect(QPoint(0, 0), source));
    QVERIFY(input);
    FramePtr output = stretched(StretchMode(mode), input.get(), AVRational{pixelAspect.width(), pixelAspect.height()});
    QVERIFY(output);
    QCOMPARE(QSize(output->width, output->height), QSize(320, 240));
    QCOMPARE(output->sample_aspect_ratio.num, output->sample_aspect_ratio.den);
    // the picture itself, and nothing but black around it
    const QRect found = boxWhere(output.get(), kNotBlack);
    QVERIFY2(qAbs(found.left() - picture.left()) <= 1 && qAbs(found.top() - picture.top()) <= 1 &&
                 qAbs(found.right() - picture.right()) <= 1 && qAbs(found.bottom() - picture.bottom()) <= 1,
             qPrintable(QStringLiteral("picture at %1,%2 %3x%4")
                            .arg(found.x())
                            .arg(found.y())
                            .arg(found.width())
                            .arg(found.height())));
}

void TestEngineRules::noResizeKeepsPixelsAtTheirSize()
{
    // a 40x40 white square in the middle of a large grey picture stays 40x40
    FramePtr input = makePicture(720, 576, QRect(340, 268, 40, 40));
    QVERIFY(input);
    FramePtr kept = stretched(StretchMode::NoResize, input.get(), AVRational{1, 1});
    QVERIFY(kept);
    QCOMPARE(boxWhere(kept.get(), kWhite), QRect(140, 100, 40, 40));
    FramePtr scaled = stretched(StretchMode::Stretch, input.get(), AVRational{1, 1});
    QVERIFY(scaled);
    QVERIFY(boxWhere(scaled.get(), kWhite).width() < 30);
}

void TestEngineRules::outputKindAndTemporaryNames()
{
    QCOMPARE(outputKindFor(QStringLiteral("D:\\out\\holiday.wmv")), OutputKind::Video);
    QCOMPARE(outputKindFor(QStringLiteral("/out/HOLIDAY.WMA")), OutputKind::Audio);
    QCOMPARE(outputKindFor(QStringLiteral("/out/.wmv")), OutputKind::Video);
    QCOMPARE(outputKindFor(QStringLiteral("/out/holiday.wmv.txt")), OutputKind::Unsupported);
    QCOMPARE(outputKindFor(QStringLiteral("/out/holiday.avi")), OutputKind::Unsupported);
    QCOMPARE(outputKindFor(QString()), OutputKind::Unsupported);

    const QString destination = QStringLiteral("/out/a b#1.wmv");
    QStringList names;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString name = tempPathFor(destination, attempt);
        QVERIFY(name.startsWith(QStringLiteral("/out/"))); // same folder: the rename stays on one disk
        QVERIFY(name != destination);
        QCOMPARE(outputKindFor(name), OutputKind::Unsupported); // never mistaken for a finished file
        names << name;
    }
    names.removeDuplicates();
    QCOMPARE(names.size(), 5);
}

QTEST_GUILESS_MAIN(TestEngineRules)
#include "test_engine_rules.moc"
