// Frame queue: back-pressure, close drains, abort frees both sides; blocking calls run on threads.
#include "engine/CFrameQueue.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <future>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Numbers = std::vector<int64_t>;

// A call on its own thread; leaving scope aborts the queue first, so a failed check never hangs.
template <typename Call> struct Background
{
    Background(CFrameQueue& queue, Call call) : queue(queue), result(std::async(std::launch::async, call)) {}
    ~Background() { queue.abort(); }

    // A call that does not wait has returned within 50 ms; only a deadlock takes 10 s.
    bool waits() const { return result.wait_for(50ms) == std::future_status::timeout; }
    std::optional<std::invoke_result_t<Call>> get()
    {
        if (result.wait_for(10s) != std::future_status::ready)
            return std::nullopt;
        return result.get();
    }

    CFrameQueue& queue;
    std::future<std::invoke_result_t<Call>> result;
};

QueuedFrame numbered(int number)
{
    QueuedFrame item{AVMEDIA_TYPE_VIDEO, allocFrame()};
    item.frame->pts = number;
    return item;
}

Numbers drain(CFrameQueue& queue)
{
    Numbers numbers;
    while (std::optional<QueuedFrame> item = queue.pop())
        numbers.push_back(item->frame->pts);
    return numbers;
}

} // namespace

class TestFrameQueue : public QObject
{
    Q_OBJECT
private slots:
    // The preview takes frames with tryPop: it must neither wait nor starve the producer.
    void fullQueueHoldsTheProducerBack()
    {
        CFrameQueue queue(2);
        Background onEmpty(queue, [&queue] { return queue.tryPop().has_value(); });
        QVERIFY(onEmpty.get() == false);
        std::atomic<int> pushed{0};
        Background producer(queue, [&queue, &pushed] {
            for (int number = 0; number < 5; ++number, ++pushed) {
                if (!queue.push(numbered(number)))
                    return false;
            }
            queue.close();
            return true;
        });
        QTRY_COMPARE_WITH_TIMEOUT(pushed.load(), 2, 10000);
        QVERIFY(producer.waits());
        QCOMPARE(pushed.load(), 2);
        const std::optional<QueuedFrame> first = queue.tryPop();
        QVERIFY(first && first->frame->pts == 0);
        QTRY_COMPARE_WITH_TIMEOUT(pushed.load(), 3, 10000);
        Background consumer(queue, [&queue] { return drain(queue); });
        QVERIFY(consumer.get() == Numbers({1, 2, 3, 4}));
        QVERIFY(producer.get() == true);
    }

    void closedQueueIsDrainedThenEnds()
    {
        CFrameQueue full(2);
        QVERIFY(full.push(numbered(0)) && full.push(numbered(1)));
        full.close();
        // full and closed: the late frame is refused at once, not held until there is room
        Background lateProducer(full, [&full] { return full.push(numbered(2)); });
        QVERIFY(lateProducer.get() == false);
        QVERIFY(!full.isFinished());
        Background consumer(full, [&full] { return drain(full); });
        QVERIFY(consumer.get() == Numbers({0, 1}));
        QVERIFY(full.isFinished() && !full.isAborted());
    }

    void abortFreesAWaitingSide_data()
    {
        QTest::addColumn<bool>("producer");
        QTest::newRow("producer on a full queue") << true;
        QTest::newRow("consumer on an empty queue") << false;
    }
    void abortFreesAWaitingSide()
    {
        QFETCH(bool, producer);
        CFrameQueue queue(1);
        QVERIFY(!producer || queue.push(numbered(0)));
        Background side(queue, [&queue, producer] {
            return producer ? queue.push(numbered(1)) : queue.pop().has_value();
        });
        QVERIFY(side.waits());
        queue.abort();
        QVERIFY(side.get() == false);
        QVERIFY(queue.isAborted() && queue.isFinished());
        QVERIFY(!queue.tryPop() && !queue.pop()); // what was queued is dropped
        QVERIFY(!queue.push(numbered(2)));
    }
};

QTEST_GUILESS_MAIN(TestFrameQueue)
#include "test_frame_queue.moc"
