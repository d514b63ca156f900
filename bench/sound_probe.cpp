// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/probe_application.h"
#include "bench/process_usage.h"

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
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace pairly::bench {
namespace {

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void report(const char* key, double value)
{
    std::printf("%s %.4f\n", key, value);
    std::fflush(stdout);
}

// Runs the event loop for `ms` and reports the process's CPU (% of a core)
// and wake-ups per second over that time.
void measure(const char* name, int ms)
{
    const ProcessUsage before = ProcessUsage::now();
    runFor(ms);
    const ProcessUsage after = ProcessUsage::now();
    const double seconds = ms / 1000.0;
    char key[64];
    std::snprintf(key, sizeof key, "%s_cpu_pct", name);
    report(key, (after.cpu - before.cpu) / seconds * 100.0);
    std::snprintf(key, sizeof key, "%s_wakeups_per_s", name);
    report(key, double(after.switches - before.switches) / seconds);
}

// The program through the sound output the environment gives it. Without a
// song: idle at the start window and in a waiting game with "no music", then
// card turns one after another (their click times, for the script to match
// against what the sound server played). With one: that song playing in a
// waiting game, for `songMs`.
int session(int song, int songMs)
{
    Program program(&makeSoundOutput);
    program.start();
    if (!QTest::qWaitForWindowExposed(&program.startWindow()))
        return 1;
    if (song > 0) {
        QTest::mouseClick(program.startWindow().lblplay(), Qt::LeftButton);
        program.gameWindow()->menu().action(u"canzoni", song)->trigger();
        runFor(1000);
        char key[64];
        std::snprintf(key, sizeof key, "song_%d", song);
        measure(key, songMs);
        program.startWindow().lblquit_Click();
        return 0;
    }
    // Nothing has sounded: three seconds on, the start window should cost
    // nothing.
    runFor(3000);
    measure("start_window", 10000);

    QTest::mouseClick(program.startWindow().lblplay(), Qt::LeftButton);
    if (!QTest::qWaitForWindowExposed(program.gameWindow()))
        return 1;
    Form1& form = *program.gameWindow();
    form.menu().action(u"nomusic")->trigger();
    runFor(3000);
    measure("no_music", 10000);

    // Fifty accepted turns: pairs (card c and card c + 10 share a picture),
    // so that no click waits out a missed pair's pause. Every tenth comes
    // after three seconds of silence, when the output has closed; the first
    // after thirteen.
    QAction* venti = form.menu().action(u"venti");
    for (int k = 0; k < 50; ++k) {
        if (k % 20 == 0) {
            venti->trigger();
            runFor(200);
        }
        if (k > 0)
            runFor(k % 10 == 0 ? 3000 : 500);
        const int pair = (k % 20) / 2;
        const auto card = static_cast<int16_t>(1 + pair + (k % 2) * 10);
        report("rustle_click_us", double(monotonicMicros()));
        QTest::mouseClick(form.backs(20)->element(card), Qt::LeftButton);
    }
    runFor(1000);
    program.startWindow().lblquit_Click();
    return 0;
}

}  // namespace
}  // namespace pairly::bench

// Arguments: none, or a song number (1..10) and how many seconds it is
// measured: sound_probe [SONG SECONDS]
int main(int argc, char** argv)
{
    pairly::bench::ProbeApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Pairly"));
    app.setQuitOnLastWindowClosed(false);
    return pairly::bench::session(argc > 2 ? std::atoi(argv[1]) : 0, argc > 2 ? std::atoi(argv[2]) * 1000 : 0);
}
