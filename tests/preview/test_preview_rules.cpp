// The preview's plain rules: the presentation clock and the packing of sound for the device.
#include "engine/CPresentationClock.h"
#include "engine/SamplePacking.h"

#include <QtTest>

#include <cstdint>
#include <vector>

class TestPreviewRules : public QObject
{
    Q_OBJECT
private slots:
    void clockRunsHoldsWhilePausedAndFollowsTheSound()
    {
        CPresentationClock clock;
        QCOMPARE(clock.positionAt(5.0), 0.0); // not started
        clock.start(10.0);
        QCOMPARE(clock.positionAt(11.5), 1.5);
        clock.pause(12.0);
        QCOMPARE(clock.positionAt(20.0), 2.0);
        clock.resume(30.0);
        QCOMPARE(clock.positionAt(31.0), 3.0);
        clock.resume(32.0); // not paused: no effect
        QCOMPARE(clock.positionAt(32.0), 4.0);

        clock.start(0.0);
        clock.follow(1.01, 1.0); // a device's reporting step: ignored
        QCOMPARE(clock.positionAt(1.0), 1.0);
        clock.follow(0.8, 1.0); // the sound fell behind: the pictures wait for it
        QCOMPARE(clock.positionAt(1.5), 1.3);
        clock.follow(2.0, 1.5); // and catch up when it runs ahead
        QCOMPARE(clock.positionAt(1.5), 2.0);
        clock.pause(2.0);
        clock.follow(9.0, 3.0); // a suspended device does not move a paused clock
        QCOMPARE(clock.positionAt(3.0), 2.5);
    }
    void soundIsInterleavedAndInt16Clipped()
    {
        const std::vector<std::vector<float>> channels{{0.1f, 0.5f, 1.7f}, {-0.1f, -0.5f, -3.0f}};
        const FramePtr planar = allocFrame();
        QVERIFY(planar);
        av_channel_layout_default(&planar->ch_layout, 2);
        planar->format = AV_SAMPLE_FMT_FLTP;
        planar->sample_rate = 44100;
        planar->nb_samples = 3;
        planar->pts = 4410;
        QVERIFY(av_frame_get_buffer(planar.get(), 0) >= 0);
        for (size_t channel = 0; channel < channels.size(); ++channel)
            std::copy(channels[channel].begin(), channels[channel].end(),
                      reinterpret_cast<float*>(planar->extended_data[channel]));

        const FramePtr floats = packSamples(planar.get(), AV_SAMPLE_FMT_FLT);
        QVERIFY(floats);
        QCOMPARE(floats->nb_samples, 3);
        QCOMPARE(floats->ch_layout.nb_channels, 2);
        QCOMPARE(floats->pts, int64_t(4410));
        const auto* f = reinterpret_cast<const float*>(floats->data[0]);
        QCOMPARE(std::vector<float>(f, f + 6), std::vector<float>({0.1f, -0.1f, 0.5f, -0.5f, 1.7f, -3.0f}));

        const FramePtr shorts = packSamples(planar.get(), AV_SAMPLE_FMT_S16);
        QVERIFY(shorts);
        const auto* s = reinterpret_cast<const int16_t*>(shorts->data[0]);
        QCOMPARE(std::vector<int16_t>(s, s + 6),
                 std::vector<int16_t>({3277, -3277, 16384, -16384, 32767, -32767}));
        QVERIFY(!packSamples(planar.get(), AV_SAMPLE_FMT_DBL));
    }
};

QTEST_GUILESS_MAIN(TestPreviewRules)
#include "test_preview_rules.moc"
