#include "event_storm.h"

#include "engine/game.h"
#include "sound/music.h"
#include "tests/sound/fake_audio_backend.h"
#include "tests/ui/pointer.h"
#include "ui/common/caption_label.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"
#include "ui/common/menu_bar.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"
#include "ui/game/form1.h"
#include "ui/game/panels.h"
#include "ui/program.h"
#include "ui/start/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace pairly {
namespace {

using testing::hover;

using Kind = EventStorm::Kind;

// How often each kind comes, in the order of Kind. Clicks and ticks dominate,
// so that games get played to the end between the commands.
constexpr std::array<int, EventStorm::kKinds> kWeights = {
    20, 12, 6, 4, 3, 4, 3, 2, 3, 2, 4, 2, 16, 4, 4, 2,
};

constexpr std::array<const char*, EventStorm::kKinds> kNames = {
    "pair click", "covered click", "refused click", "face click", "size command", "rules command",
    "panel click", "exit", "play", "activation", "music command", "rustle command",
    "tick", "song end", "pointer move", "start window info",
};

bool faceUp(Form1& form, int16_t c)
{
    const ImageControl* face = form.Img()->element(c);
    return face && !face->isHidden();
}

}  // namespace

const char* kindName(Kind kind)
{
    return kNames[static_cast<size_t>(kind)];
}

EventStorm::EventStorm(Program& program, testing::FakeAudioBackend& audio, uint32_t seed)
    : program_(program), audio_(audio), random_(seed), otherApp_(std::make_unique<QWidget>())
{
    otherApp_->setWindowTitle(QStringLiteral("another program"));
    otherApp_->resize(200, 100);
}

EventStorm::~EventStorm() = default;

bool EventStorm::chance(int percent)
{
    return std::uniform_int_distribution<int>(0, 99)(random_) < percent;
}

Kind EventStorm::pick()
{
    if (!program_.gameWindow())
        return Kind::Play;
    // Now and then a player just plays for a while, so that tables get cleared.
    if (focus_ == 0 && chance(1))
        focus_ = 120;
    if (focus_ > 0) {
        --focus_;
        return chance(75) ? Kind::PairClick : Kind::Tick;
    }
    std::discrete_distribution<size_t> d(kWeights.begin(), kWeights.end());
    return static_cast<Kind>(d(random_));
}

const char* EventStorm::step()
{
    const Kind kind = pick();
    ++counts_[static_cast<size_t>(kind)];
    send(kind);
    deliver();
    noteProgress();
    return kindName(kind);
}

void EventStorm::deliver()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void EventStorm::noteProgress()
{
    Form1* form = program_.gameWindow();
    if (!form)
        return;
    const TableModel& m = form->game().model();
    if (m.trovate > lastTrovate_)
        pairsFound_ += static_cast<uint64_t>(m.trovate - lastTrovate_) / 2;
    // The last pair resets the count within the same pass and starts the pause.
    if (m.trovate == 0 && lastTrovate_ == m.ncarte - 2 && form->game().pausing()) {
        ++pairsFound_;
        ++tablesCleared_;
    }
    lastTrovate_ = m.trovate;
}

int16_t EventStorm::anyCard(int16_t ncarte)
{
    return static_cast<int16_t>(std::uniform_int_distribution<int>(1, ncarte)(random_));
}

int16_t EventStorm::coveredCard()
{
    Form1& form = *program_.gameWindow();
    const TableModel& m = form.game().model();
    std::vector<int16_t> covered;
    for (int16_t c = 1; c <= m.ncarte; ++c) {
        if (!faceUp(form, c) && form.backs(m.ncarte)->element(c) && !form.backs(m.ncarte)->element(c)->isHidden())
            covered.push_back(c);
    }
    if (covered.empty())
        return anyCard(m.ncarte);
    return covered[std::uniform_int_distribution<size_t>(0, covered.size() - 1)(random_)];
}

int16_t EventStorm::partnerOf(int16_t c)
{
    Form1& form = *program_.gameWindow();
    const TableModel& m = form.game().model();
    const ImageControl* face = form.Img()->element(c);
    if (!face)
        return coveredCard();
    for (int16_t other = 1; other <= m.ncarte; ++other) {
        const ImageControl* candidate = form.Img()->element(other);
        if (other != c && candidate && candidate->picture() == face->picture())
            return other;
    }
    return coveredCard();
}

void EventStorm::clickCard(int16_t size, int16_t index, bool realClick)
{
    Form1& form = *program_.gameWindow();
    ImageArray* backs = form.backs(size);
    ImageControl* back = backs ? backs->element(index) : nullptr;
    if (realClick && back) {
        QTest::mouseClick(back, Qt::LeftButton);
        return;
    }
    switch (size) {
    case 20:
        form.dorso20_Click(index);
        break;
    case 48:
        form.dorso48_Click(index);
        break;
    default:
        form.dorso80_Click(index);
        break;
    }
}

void EventStorm::send(Kind kind)
{
    frmmain& start = program_.startWindow();
    if (kind == Kind::Play) {
        if (chance(50))
            QTest::mouseClick(start.lblplay(), Qt::LeftButton);
        else
            start.lblplay_Click();
        return;
    }
    if (kind == Kind::StartInfo) {
        switch (std::uniform_int_distribution<int>(0, 2)(random_)) {
        case 0: start.lblInfo_Click(); break;
        case 1: start.Text4_Click(); break;
        default: start.Form_Click(); break;
        }
        return;
    }
    Form1& form = *program_.gameWindow();
    const TableModel& m = form.game().model();
    const MenuBar& menu = form.menu();
    const bool real = chance(20);
    switch (kind) {
    case Kind::PairClick: {
        const int16_t first = m.prima != 0 ? m.prima : m.cliccata;
        clickCard(m.ncarte, first != 0 && chance(70) ? partnerOf(first) : coveredCard(), real);
        break;
    }
    case Kind::CoveredClick:
        clickCard(m.ncarte, coveredCard(), real);
        break;
    case Kind::RefusedClick: {
        static constexpr std::array<int16_t, 3> sizes = {20, 48, 80};
        const int16_t other = sizes[std::uniform_int_distribution<size_t>(0, 2)(random_)];
        static constexpr std::array<int16_t, 6> wrong = {0, -1, 81, 100, -32768, 32767};
        if (other != m.ncarte)
            clickCard(other, anyCard(other), real);
        else
            clickCard(m.ncarte, wrong[std::uniform_int_distribution<size_t>(0, wrong.size() - 1)(random_)], false);
        break;
    }
    case Kind::FaceClick: {
        int16_t up = 0;
        for (int16_t c = 1; c <= m.ncarte && up == 0; ++c)
            up = faceUp(form, c) ? c : 0;
        const int16_t c = up != 0 ? up : anyCard(m.ncarte);
        if (real && form.Img()->element(c))
            QTest::mouseClick(form.Img()->element(c), Qt::LeftButton);
        else
            clickCard(m.ncarte, c, false);
        break;
    }
    case Kind::SizeCommand: {
        static constexpr std::array<const char16_t*, 3> items = {u"venti", u"quarantotto", u"ottanta"};
        menu.action(QStringView(items[std::uniform_int_distribution<size_t>(0, 2)(random_)]))->trigger();
        break;
    }
    case Kind::RulesCommand:
        switch (std::uniform_int_distribution<int>(0, 2)(random_)) {
        case 0: menu.action(u"italiano", 1)->trigger(); break;
        case 1: menu.action(u"inglese", 2)->trigger(); break;
        default: menu.action(u"menu_about")->trigger(); break;
        }
        break;
    case Kind::PanelClick: {
        const int n = std::uniform_int_distribution<int>(1, 3)(random_);
        TextPanel* panel = form.Text(n);
        if (real && !panel->isHidden())
            QTest::mouseClick(panel->viewport(), Qt::LeftButton);
        else if (n == 1)
            form.panels().Text1_Click();
        else if (n == 2)
            form.panels().Text2_Click();
        else
            form.panels().Text3_Click();
        break;
    }
    case Kind::Exit:
        if (real)
            QTest::mouseClick(form.lblquit(), Qt::LeftButton);
        else
            form.lblquit_Click();
        break;
    case Kind::Activation:
        switch (std::uniform_int_distribution<int>(0, 2)(random_)) {
        case 0:
            form.Form_Activate();
            break;
        case 1:  // back from the start window
            start.showInFront();
            deliver();
            form.activateWindow();
            break;
        default:  // back from another program: not an activation of the game
            otherApp_->show();
            otherApp_->activateWindow();
            deliver();
            form.activateWindow();
            break;
        }
        break;
    case Kind::MusicCommand: {
        const int item = std::uniform_int_distribution<int>(0, 11)(random_);
        if (item == 0)
            menu.action(u"nomusic")->trigger();
        else if (item == 1)
            menu.action(u"all")->trigger();
        else
            menu.action(u"canzoni", item - 1)->trigger();
        break;
    }
    case Kind::RustleCommand:
        menu.action(u"cards")->trigger();
        break;
    case Kind::Tick:
        form.game().Timer1_Timer();
        break;
    case Kind::SongEnd:
        switch (std::uniform_int_distribution<int>(0, 2)(random_)) {
        case 0: form.music().MMC1_Done(1); break;
        case 1: audio_.finish(); break;
        default:
            if (audio_.effect && audio_.effect->playing)
                audio_.effect->end();
            break;
        }
        break;
    case Kind::PointerMove:
        switch (std::uniform_int_distribution<int>(0, 2)(random_)) {
        case 0: hover(form.lblquit(), QPoint(3, 3)); break;
        case 1: hover(&form.surface(), QPoint(form.surface().width() - 3, form.surface().height() - 3)); break;
        default:
            if (ImageControl* back = form.backs(m.ncarte)->element(anyCard(m.ncarte)))
                hover(back, QPoint(2, 2));
            break;
        }
        break;
    case Kind::Play:
    case Kind::StartInfo:
    case Kind::Count:
        break;
    }
}

}  // namespace pairly
