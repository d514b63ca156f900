#include "event_storm.h"
#include "table_invariants.h"

#include "engine/game.h"
#include "sound/media_device.h"
#include "tests/sound/fake_audio_backend.h"
#include "ui/game/form1.h"
#include "ui/program.h"
#include "ui/start/frmmain.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <fstream>
#include <unistd.h>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define PAIRLY_ASAN 1
#endif

namespace pairly {
namespace {

uint64_t fromEnvironment(const char* name, uint64_t fallback)
{
    bool ok = false;
    const qulonglong value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The deepest point of the stack at which any event has been delivered, as a
// distance from the frame that runs the storm.
class StackDepth final : public QObject {
public:
    StackDepth() : top_(reinterpret_cast<uintptr_t>(__builtin_frame_address(0))) {}

    bool eventFilter(QObject*, QEvent*) override
    {
        const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
        deepest_ = std::max<std::ptrdiff_t>(deepest_, std::ptrdiff_t(top_ - here));
        return false;
    }
    std::ptrdiff_t takeDeepest() { return std::exchange(deepest_, 0); }

private:
    uintptr_t top_;
    std::ptrdiff_t deepest_ = 0;
};

QtMessageHandler& previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

// The offscreen platform says so on every raise() of a window.
void quietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler())
        previousHandler()(type, context, message);
}

// A storm of every kind of input against the real windows; after each event
// the table, the menus and the panels must be in a state a game can be in.
// PAIRLY_STORM_EVENTS and PAIRLY_STORM_SEED change its length and its draw.
TEST(EventStormSoak, EveryEventLeavesAConsistentGame)
{
    const uint64_t events = fromEnvironment("PAIRLY_STORM_EVENTS", 100000);
    const auto seed = static_cast<uint32_t>(fromEnvironment("PAIRLY_STORM_SEED", 20261205));
    previousHandler() = qInstallMessageHandler(quietPlatformNotes);
    auto audio = std::make_shared<testing::FakeAudioBackend>();
    Program program{[audio] { return audio; }};
    program.start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program.startWindow()));

    EventStorm storm(program, *audio, seed);
    StackDepth stack;
    qApp->installEventFilter(&stack);
    std::ptrdiff_t stackAfterWarmUp = 0;
    std::deque<const char*> recent;
    // Memory is measured once the caches (scaled pictures, fonts, menus) are full.
    const uint64_t warmUp = std::min<uint64_t>(events / 10, 5000);
    long rssAfterWarmUp = 0;
    uint64_t gamesBefore = 0;
    for (uint64_t n = 0; n < events; ++n) {
        recent.push_back(storm.step());
        if (recent.size() > 12)
            recent.pop_front();
        if (n + 1 == warmUp) {
            rssAfterWarmUp = residentKiB();
            stackAfterWarmUp = stack.takeDeepest();
        }
        Form1* form = program.gameWindow();
        if (!form || form->game().gamesStarted() == 0)
            continue;
        ASSERT_GE(form->game().gamesStarted(), gamesBefore);
        gamesBefore = form->game().gamesStarted();
        const std::vector<std::string> broken = brokenInvariants(*form);
        if (!broken.empty()) {
            std::string trail;
            for (const char* name : recent)
                trail += std::string(" > ") + name;
            std::string lines;
            for (const std::string& line : broken)
                lines += "\n  " + line;
            FAIL() << "seed " << seed << ", event " << n + 1 << ":" << trail << lines;
        }
    }
    const long growthKiB = residentKiB() - rssAfterWarmUp;
    const std::ptrdiff_t stackLater = stack.takeDeepest();
    qApp->removeEventFilter(&stack);

    for (size_t k = 0; k < EventStorm::kKinds; ++k)
        EXPECT_GT(storm.counts()[k], 0u) << kindName(static_cast<EventStorm::Kind>(k));
    Form1* form = program.gameWindow();
    ASSERT_NE(form, nullptr);
    std::cout << events << " events, seed " << seed << ": " << form->game().gamesStarted() << " games, "
              << storm.pairsFound() << " pairs found, " << storm.tablesCleared() << " tables cleared, RSS "
              << growthKiB << " KiB after warm-up, deepest event " << stackAfterWarmUp << " bytes down in the warm-up, "
              << stackLater << " after\n";
    // A game started inside another game's loop would go deeper with every game.
    EXPECT_LT(stackLater, stackAfterWarmUp + 32 * 1024);
    EXPECT_GT(storm.pairsFound(), events / 200);
    EXPECT_GT(storm.tablesCleared(), 0u);
#ifndef PAIRLY_ASAN
    // The sanitizer's quarantine holds freed memory back, so only the plain build measures it.
    EXPECT_LT(growthKiB, 8 * 1024);
#endif

    program.startWindow().lblquit_Click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->MMC1().mode(), MediaDevice::Mode::NotOpen);
    EXPECT_EQ(form->MMCw().mode(), MediaDevice::Mode::NotOpen);
}

}  // namespace
}  // namespace pairly
