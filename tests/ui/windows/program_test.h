// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game.h"
#include "tests/sound/fake_audio_backend.h"
#include "ui/common/caption_label.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"
#include "ui/common/menu_bar.h"
#include "ui/game/form1.h"
#include "ui/program.h"
#include "ui/start/frmmain.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace pairly::testing {

// The real program on the offscreen platform, with a sound output that only
// records what it is asked.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&program.startWindow()));
    }

    // Clicks "Play" and waits for the game it deals.
    Form1& play()
    {
        const uint64_t before = program.gameWindow() ? games() : 0;
        QTest::mouseClick(program.startWindow().lblplay(), Qt::LeftButton);
        EXPECT_NE(program.gameWindow(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return games() > before; }));
        return form();
    }
    Form1& form() { return *program.gameWindow(); }
    uint64_t games() { return form().game().gamesStarted(); }
    TableModel& model() { return form().game().model(); }
    ImageControl* back(int16_t c) { return form().backs(model().ncarte)->element(c); }
    ImageControl* face(int16_t c) { return form().Img()->element(c); }
    QAction* action(QStringView name, int index = kNoIndex) { return form().menu().action(name, index); }
    int16_t partner(int16_t c) { return c > model().ncarte / 2 ? c - model().ncarte / 2 : c + model().ncarte / 2; }
    // The window left is hidden: nothing depends on the platform raising the other.
    bool startWindowAlone() { return program.startWindow().isVisible() && !form().isVisible(); }

    // A click on card c's back, and one that waits for its face.
    void click(int16_t c) { QTest::mouseClick(back(c), Qt::LeftButton); }
    void turn(int16_t c)
    {
        click(c);
        EXPECT_TRUE(QTest::qWaitFor([&] { return face(c)->isVisible(); })) << c;
    }
    int coveredCards()
    {
        int n = 0;
        for (int16_t c = 1; c <= model().ncarte; ++c)
            n += back(c)->isVisible() && !face(c)->isVisible();
        return n;
    }
    std::vector<QString> checkedItems(QStringView title)
    {
        std::vector<QString> checked;
        for (QAction* a : form().menu().menu(title)->actions()) {
            if (a->isChecked())
                checked.push_back(a->text());
        }
        return checked;
    }

    std::shared_ptr<FakeAudioBackend> audio = std::make_shared<FakeAudioBackend>();
    Program program{[audio = audio] { return audio; }};
};

}  // namespace pairly::testing
