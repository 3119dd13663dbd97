// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/core/threadpriority.h"

#include <QtTest>

#include <algorithm>
#include <future>
#include <linux/capability.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

// A thread that waits until told to end, as a sound thread waits on its sink.
class Waiting
{
public:
    explicit Waiting(const char *name = nullptr)
    {
        std::promise<pid_t> id;
        std::future<pid_t> got = id.get_future();
        m_thread = std::thread([this, name, &id] {
            if (name)
                pthread_setname_np(pthread_self(), name);
            id.set_value(CurrentThreadId());
            m_end.get_future().wait();
        });
        m_tid = got.get();
    }
    ~Waiting()
    {
        m_end.set_value();
        m_thread.join();
    }
    pid_t tid() const { return m_tid; }

private:
    std::promise<void> m_end;
    std::thread m_thread;
    pid_t m_tid = 0;
};

int niceOf(pid_t tid)
{
    return getpriority(PRIO_PROCESS, id_t(tid));
}

// Capabilities belong to each thread: only the asking thread loses the right.
bool dropTheRightToRaise()
{
    __user_cap_header_struct header = { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    data[CAP_SYS_NICE / 32].effective &= ~(1u << (CAP_SYS_NICE % 32));
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

class TestThreadPriority : public QObject
{
    Q_OBJECT
private slots:
    void raisesTheThreadNamed_data();
    void raisesTheThreadNamed();
    void findsThreadsByTheirKernelName();
    void knowsWhetherSoundThreadsCanBeRaised();
};

void TestThreadPriority::raisesTheThreadNamed_data()
{
    QTest::addColumn<int>("startNice");
    QTest::addColumn<bool>("withoutTheRight");
    QTest::addColumn<int>("niceLimit"); // RLIMIT_NICE; -1 leaves it
    QTest::addColumn<int>("nice");
    QTest::addColumn<bool>("raised");
    QTest::newRow("at the default level") << 0 << false << -1 << SoundThreadNice << true;
    QTest::newRow("a program started niced") << 5 << false << -1 << SoundThreadNice << true;
    QTest::newRow("already above is never lowered") << -15 << false << -1 << -15 << true;
    QTest::newRow("without the right: as far as the limit goes") << 0 << true << 25 << -5 << true;
    QTest::newRow("without the right: a limit beyond stops at the level") << 0 << true << 40 << SoundThreadNice << true;
    QTest::newRow("without the right or a limit: refused, nothing changed") << 0 << true << 0 << 0 << false;
}

void TestThreadPriority::raisesTheThreadNamed()
{
    QFETCH(int, startNice);
    QFETCH(bool, withoutTheRight);
    QFETCH(int, niceLimit);
    QFETCH(int, nice);
    QFETCH(bool, raised);
    Waiting sound;
    if (setpriority(PRIO_PROCESS, id_t(sound.tid()), startNice) != 0)
        QSKIP("this user may not set a thread's priority below 0 to begin with");
    rlimit before = {};
    QVERIFY(getrlimit(RLIMIT_NICE, &before) == 0);
    if (niceLimit >= 0) {
        rlimit limit = { rlim_t(niceLimit), std::max(before.rlim_max, rlim_t(niceLimit)) };
        if (setrlimit(RLIMIT_NICE, &limit) != 0)
            QSKIP("the hard nice limit is below the row's and this user may not raise it");
    }
    const int callerBefore = niceOf(CurrentThreadId());
    bool dropped = true;
    bool result = false;
    // Asked from a third thread, which alone may lose the right.
    std::thread([&] {
        if (withoutTheRight)
            dropped = dropTheRightToRaise();
        result = RaiseSoundThread(sound.tid());
    }).join();
    setrlimit(RLIMIT_NICE, &before);
    QVERIFY(dropped);
    QCOMPARE(niceOf(sound.tid()), nice);
    QCOMPARE(result, raised);
    QCOMPARE(niceOf(CurrentThreadId()), callerBefore);
}

void TestThreadPriority::findsThreadsByTheirKernelName()
{
    Waiting renderer("QFFmpeg::AudioR");
    Waiting demuxer("QFFmpeg::Demuxe");
    // The backend names the thread after the whole class; the kernel keeps 15 bytes.
    const std::vector<pid_t> found = ThreadsNamed("QFFmpeg::AudioRenderer");
    QCOMPARE(found.size(), size_t(1));
    QCOMPARE(found.front(), renderer.tid());
    QVERIFY(ThreadsNamed("QFFmpeg::Video").empty());
}

// The sink's queue is chosen by it: a short one without a raised thread to
// feed it drops moments on a busy machine.
void TestThreadPriority::knowsWhetherSoundThreadsCanBeRaised()
{
    if (setpriority(PRIO_PROCESS, id_t(CurrentThreadId()), -1) != 0)
        QSKIP("this user may not raise a thread's priority");
    setpriority(PRIO_PROCESS, id_t(CurrentThreadId()), 0);
    QVERIFY(SoundThreadsCanBeRaised());
    QCOMPARE(niceOf(CurrentThreadId()), 0);
    rlimit before = {};
    QVERIFY(getrlimit(RLIMIT_NICE, &before) == 0);
    const rlimit none = { 0, before.rlim_max };
    QVERIFY(setrlimit(RLIMIT_NICE, &none) == 0);
    bool dropped = false;
    bool canRaise = true;
    std::thread([&] {
        dropped = dropTheRightToRaise();
        canRaise = SoundThreadsCanBeRaised();
    }).join();
    setrlimit(RLIMIT_NICE, &before);
    QVERIFY(dropped);
    QVERIFY(!canRaise);
}

QTEST_GUILESS_MAIN(TestThreadPriority)
#include "test_threadpriority.moc"
