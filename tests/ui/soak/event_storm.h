#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

class QWidget;

namespace pairly {

class Form1;
class Program;
namespace testing {
class FakeAudioBackend;
}

// A seeded random storm of everything a player, the desktop, the pause timer
// and the music can do to the program's windows, one event at a time. Time
// does not pass: the pause timer's ticks and the songs' ends are events of
// the storm like the clicks.
class EventStorm {
public:
    enum class Kind {
        PairClick,     // the partner of a turned card, or any covered card
        CoveredClick,  // any covered card of the table
        RefusedClick,  // a wrong index or a card of another size
        FaceClick,     // a card already uncovered
        SizeCommand,
        RulesCommand,
        PanelClick,
        Exit,
        Play,
        Activation,
        MusicCommand,
        RustleCommand,
        Tick,
        SongEnd,
        PointerMove,
        StartInfo,
        Count
    };
    static constexpr size_t kKinds = static_cast<size_t>(Kind::Count);

    EventStorm(Program& program, testing::FakeAudioBackend& audio, uint32_t seed);
    ~EventStorm();

    // Sends one event and delivers everything it queued. Returns its name.
    const char* step();

    const std::array<uint64_t, kKinds>& counts() const { return counts_; }
    // Pairs found and games won so far, to show the storm got somewhere.
    uint64_t pairsFound() const { return pairsFound_; }
    uint64_t tablesCleared() const { return tablesCleared_; }

private:
    Kind pick();
    void send(Kind kind);
    bool chance(int percent);
    int16_t anyCard(int16_t ncarte);
    int16_t coveredCard();
    int16_t partnerOf(int16_t c);
    void clickCard(int16_t size, int16_t index, bool realClick);
    void deliver();
    void noteProgress();

    Program& program_;
    testing::FakeAudioBackend& audio_;
    std::mt19937 random_;
    std::unique_ptr<QWidget> otherApp_;
    std::array<uint64_t, kKinds> counts_{};
    uint64_t pairsFound_ = 0;
    uint64_t tablesCleared_ = 0;
    int16_t lastTrovate_ = 0;
    int focus_ = 0;  // events left in a run of card clicks and ticks only
};

const char* kindName(EventStorm::Kind kind);

}  // namespace pairly
