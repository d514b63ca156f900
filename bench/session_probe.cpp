// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/probe_application.h"

#include "engine/game.h"
#include "sound/audio_module.h"
#include "ui/common/caption_label.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"
#include "ui/common/menu_bar.h"
#include "ui/game/form1.h"
#include "ui/program.h"
#include "ui/start/frmmain.h"

#include <QAction>
#include <QEventLoop>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <malloc.h>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

namespace pairly::bench {
namespace {

// Times from an input to the moment the last of a set of widgets has painted.
class PaintWatch {
public:
    explicit PaintWatch(ProbeApplication& app) : app_(app)
    {
        app_.setObserver([this](QObject* receiver, QEvent::Type type) {
            if (type == QEvent::Paint && pending_.erase(receiver) && pending_.empty())
                doneAt_ = monotonicMicros();
        });
    }
    ~PaintWatch() { app_.setObserver({}); }

    // Runs `input`, then the event loop until every widget `targets` gives has
    // painted; returns milliseconds, or -1 if that took over five seconds.
    template <typename Input, typename Targets>
    double time(Input input, Targets targets)
    {
        doneAt_ = 0;
        pending_.clear();
        const int64_t start = monotonicMicros();
        input();
        for (QWidget* w : targets())
            pending_.insert(w);
        if (pending_.empty())
            doneAt_ = monotonicMicros();
        while (doneAt_ == 0 && monotonicMicros() - start < 5000000)
            app_.processEvents(QEventLoop::WaitForMoreEvents, 20);
        return doneAt_ == 0 ? -1.0 : double(doneAt_ - start) / 1000.0;
    }

private:
    ProbeApplication& app_;
    std::set<QObject*> pending_;
    int64_t doneAt_ = 0;
};

void settle()
{
    for (int k = 0; k < 5; ++k)
        QCoreApplication::processEvents();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1.0 : v[v.size() / 2];
}

double worst(const std::vector<double>& v)
{
    return v.empty() ? -1.0 : *std::max_element(v.begin(), v.end());
}

std::vector<QWidget*> backs(Program& program, int16_t size)
{
    std::vector<QWidget*> widgets;
    for (int16_t c = 1; c <= size; ++c)
        widgets.push_back(program.gameWindow()->backs(size)->element(c));
    return widgets;
}

void report(const char* key, double value)
{
    std::printf("%s %.3f\n", key, value);
    std::fflush(stdout);
}

// The program after its start: a whole session: the first and later "Play"s, size commands, card clicks,
// idle time with and without music, then many games and many song changes.
int session(ProbeApplication& app, bool quick)
{
    Program program(&makeSoundOutput);
    program.start();
    if (!QTest::qWaitForWindowExposed(&program.startWindow()))
        return 1;
    // A player needs well over half a second to see the start window and
    // reach "Play"; the program prepares the game meanwhile.
    QTest::qWait(1000);
    settle();
    const long startedKiB = residentKiB();

    std::vector<double> plays;
    {
        PaintWatch watch(app);
        for (int k = 0; k < 8; ++k) {
            if (k > 0) {
                program.gameWindow()->lblquit_Click();
                if (!QTest::qWaitForWindowActive(&program.startWindow()))
                    return 1;
                settle();
            }
            int64_t clickDone = 0;
            const int64_t clicked = monotonicMicros();
            plays.push_back(watch.time(
                [&] {
                    QTest::mouseClick(program.startWindow().lblplay(), Qt::LeftButton);
                    clickDone = monotonicMicros();
                },
                [&] { return backs(program, 20); }));
            if (k == 0)
                report("play_first_handler_ms", double(clickDone - clicked) / 1000.0);
        }
    }
    report("play_first_ms", plays.front());
    report("play_median_ms", median({plays.begin() + 1, plays.end()}));

    Form1& form = *program.gameWindow();
    QAction* venti = form.menu().action(u"venti");
    QAction* ottanta = form.menu().action(u"ottanta");
    std::vector<double> sizes;
    std::vector<double> faces;
    {
        PaintWatch watch(app);
        for (int k = 0; k < 10; ++k) {
            sizes.push_back(watch.time([&] { ottanta->trigger(); }, [&] { return backs(program, 80); }));
            watch.time([&] { venti->trigger(); }, [&] { return backs(program, 20); });
            settle();
            const int16_t c = static_cast<int16_t>(1 + k % 20);
            faces.push_back(watch.time([&] { QTest::mouseClick(form.backs(20)->element(c), Qt::LeftButton); },
                                       [&] { return std::vector<QWidget*>{form.Img()->element(c)}; }));
        }
    }
    report("size80_first_ms", sizes.front());
    report("size80_median_ms", median({sizes.begin() + 1, sizes.end()}));
    report("face_median_ms", median(faces));
    report("face_worst_ms", worst(faces));
    report("session_peak_kib", double(peakResidentKiB()));
    report("session_rss_kib", double(residentKiB()));
    report("started_rss_kib", double(startedKiB));

    venti->trigger();
    form.menu().action(u"nomusic")->trigger();
    QAction* quarantotto = form.menu().action(u"quarantotto");
    const std::array<QAction*, 3> commands = {venti, quarantotto, ottanta};
    const int games = quick ? 1000 : 10000;
    for (int k = 0; k < 300; ++k) {
        commands[size_t(k % 3)]->trigger();
        QCoreApplication::processEvents();
    }
    malloc_trim(0);
    long before = residentKiB();
    for (int k = 0; k < games; ++k) {
        commands[size_t(k % 3)]->trigger();
        QCoreApplication::processEvents();
    }
    report("games", games);
    report("games_rss_growth_kib", double(residentKiB() - before));

    const int songs = qEnvironmentVariableIntValue("PAIRLY_BENCH_SONGS") > 0
                          ? qEnvironmentVariableIntValue("PAIRLY_BENCH_SONGS")
                          : quick ? 30 : 300;
    for (int k = 0; k < 20; ++k) {
        form.menu().action(u"canzoni", 1 + k % 10)->trigger();
        QCoreApplication::processEvents();
    }
    malloc_trim(0);
    before = residentKiB();
    for (int k = 0; k < songs; ++k) {
        form.menu().action(u"canzoni", 1 + k % 10)->trigger();
        QCoreApplication::processEvents();
    }
    report("songs", songs);
    report("songs_rss_growth_kib", double(residentKiB() - before));
    // Memory the allocator holds but no one uses goes back; what stays is in use.
    malloc_trim(0);
    report("songs_rss_growth_trimmed_kib", double(residentKiB() - before));
    report("end_peak_kib", double(peakResidentKiB()));

    program.startWindow().lblquit_Click();
    return 0;
}

}  // namespace
}  // namespace pairly::bench

int main(int argc, char** argv)
{
    pairly::bench::ProbeApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Pairly"));
    app.setQuitOnLastWindowClosed(false);
    return pairly::bench::session(app, argc > 1 && std::strcmp(argv[1], "quick") == 0);
}
