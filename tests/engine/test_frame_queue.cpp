// Frame queue: back-pressure, close drains, abort frees both sides; blocking calls run on threads.
#include "engine/CFrameQueue.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <vector>

namespace {

constexpr std::chrono::milliseconds kDeadlock(10000); // only a deadlock takes this long
constexpr std::chrono::milliseconds kBrief(50);       // a call that does not wait has returned by then

// A call on its own thread; leaving scope aborts the queue first, so a failed check never hangs.
template <typename Result> class Background
{
public:
    Background(CFrameQueue& queue, std::function<Result()> call)
        : m_queue(queue), m_result(std::async(std::launch::async, std::move(call)))
    {
    }
    ~Background() { m_queue.abort(); }

    bool finishes() const { return m_result.wait_for(kDeadlock) == std::future_status::ready; }
    bool isWaiting() const { return m_result.wait_for(kBrief) == std::future_status::timeout; }
    Result result() { return m_result.get(); }

private:
    CFrameQueue& m_queue;
    std::future<Result> m_result;
};

QueuedFrame numbered(int number)
{
    QueuedFrame item{AVMEDIA_TYPE_VIDEO, allocFrame()};
    item.frame->pts = number;
    return item;
}

using Numbers = std::vector<int64_t>;

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
    void fullQueueHoldsTheProducerBack()
    {
        CFrameQueue queue(2);
        std::atomic<int> pushed{0};
        Background<bool> producer(queue, [&queue, &pushed] {
            for (int number = 0; number < 5; ++number) {
                if (!queue.push(numbered(number)))
                    return false;
                ++pushed;
            }
            queue.close();
            return true;
        });
        QTRY_COMPARE_WITH_TIMEOUT(pushed.load(), 2, int(kDeadlock.count()));
        QVERIFY(producer.isWaiting());
        QCOMPARE(pushed.load(), 2);

        Background<Numbers> consumer(queue, [&queue] { return drain(queue); });
        QVERIFY(consumer.finishes());
        QCOMPARE(consumer.result(), (Numbers{0, 1, 2, 3, 4}));
        QVERIFY(producer.finishes());
        QVERIFY(producer.result());
    }

    void closedQueueIsDrainedThenEnds()
    {
        CFrameQueue queue(2);
        Background<Numbers> waiting(queue, [&queue] { return drain(queue); });
        QVERIFY(waiting.isWaiting());
        QVERIFY(queue.push(numbered(0)));
        queue.close(); // wakes the waiting consumer
        QVERIFY(waiting.finishes());
        QCOMPARE(waiting.result(), (Numbers{0}));

        CFrameQueue full(2);
        QVERIFY(full.push(numbered(0)) && full.push(numbered(1)));
        full.close();
        // full and closed: the late frame is refused at once, not held until there is room
        Background<bool> lateProducer(full, [&full] { return full.push(numbered(2)); });
        QVERIFY(lateProducer.finishes());
        QVERIFY(!lateProducer.result());
        QVERIFY(!full.isFinished());
        Background<Numbers> consumer(full, [&full] { return drain(full); });
        QVERIFY(consumer.finishes());
        QCOMPARE(consumer.result(), (Numbers{0, 1}));
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
        if (producer)
            QVERIFY(queue.push(numbered(0)));
        Background<bool> side(queue, [&queue, producer] {
            return producer ? queue.push(numbered(1)) : queue.pop().has_value();
        });
        QVERIFY(side.isWaiting());
        queue.abort();
        QVERIFY(side.finishes());
        QVERIFY(!side.result());
        QVERIFY(queue.isAborted() && queue.isFinished());
        QVERIFY(!queue.tryPop() && !queue.pop()); // what was queued is dropped
        QVERIFY(!queue.push(numbered(2)));
    }

    // The preview takes frames only this way: it must neither wait nor starve the producer.
    void tryPopNeverWaits()
    {
        CFrameQueue queue(1);
        Background<bool> onEmpty(queue, [&queue] { return queue.tryPop().has_value(); });
        QVERIFY(onEmpty.finishes());
        QVERIFY(!onEmpty.result());
        QVERIFY(!queue.isFinished()); // nothing yet, but more may come

        QVERIFY(queue.push(numbered(0)));
        Background<bool> producer(queue, [&queue] { return queue.push(numbered(1)); });
        QVERIFY(producer.isWaiting());
        std::optional<QueuedFrame> item = queue.tryPop();
        QVERIFY(item && item->frame->pts == 0);
        QVERIFY(producer.finishes());
        QVERIFY(producer.result());
        item = queue.tryPop();
        QVERIFY(item && item->frame->pts == 1);
        queue.close();
        QVERIFY(!queue.tryPop());
        QVERIFY(queue.isFinished());
    }
};

QTEST_GUILESS_MAIN(TestFrameQueue)
#include "test_frame_queue.moc"
