// SPDX-License-Identifier: GPL-3.0-or-later
#include "game.h"

#include "layout.h"
#include "random_source.h"
#include "scheduler.h"
#include "shuffle.h"
#include "table.h"

namespace pairly {

Game::Game(Table& table, Scheduler& scheduler, RandomSource& random)
    : table_(table), scheduler_(scheduler), random_(random)
{
}

Game::~Game()
{
    loop_.reset();
}

void Game::setSize(int16_t ncarte, int16_t righe)
{
    m_.ncarte = ncarte;
    m_.righe = righe;
}

void Game::Main()
{
    if (resuming_) {
        // Started from inside the running loop: finish its step first.
        restartRequested_ = true;
        return;
    }
    do {
        restartRequested_ = false;
        loop_.reset();
        waiting_ = Wait::None;
        ++gamesStarted_;
        loop_ = loop();
        resuming_ = true;
        loop_.resume();
        resuming_ = false;
    } while (restartRequested_);
}

void Game::runPass()
{
    passRequested_ = false;
    if (resuming_ || !loop_.alive() || waiting_ == Wait::None || !satisfied(waiting_))
        return;
    resuming_ = true;
    loop_.resume();
    resuming_ = false;
    if (restartRequested_)
        Main();
}

bool Game::satisfied(Wait what) const
{
    switch (what) {
    case Wait::Event:
        return m_.stato == TableModel::kLeaveTable || m_.cliccata != 0;
    case Wait::Tick:
        return m_.scaduto;
    case Wait::None:
        break;
    }
    return true;
}

void Game::wake()
{
    if (passRequested_ || !loop_.alive())
        return;
    passRequested_ = true;
    scheduler_.requestPass();
}

void Game::dorsoClick(int16_t size, int16_t index)
{
    table_.hidePanels();
    if (m_.prima * m_.seconda != 0)
        return;  // the pair is being checked
    // Only a visible back of the table in play can be turned, and a card whose
    // click is still waiting to be uncovered is not a second card.
    if (size != m_.ncarte || index < 1 || index > m_.ncarte || index == m_.prima
        || !table_.backVisible(size, index))
        return;
    if (m_.prima != 0)
        m_.seconda = index;
    else
        m_.prima = index;
    m_.cliccata = index;
    if (table_.rustleOn())
        table_.playRustle();
    wake();
}

void Game::Timer1_Timer()
{
    m_.scaduto = true;
    wake();
}

void Game::requestLeaveTable()
{
    m_.stato = TableModel::kLeaveTable;
    m_.prima = 0;
    m_.seconda = 0;
    wake();
}

void Game::hideAllFaces()
{
    for (int16_t c = 1; c <= TableModel::kMaxCards; ++c)
        table_.setFaceVisible(c, false);
}

Game::Pause::Pause(Game& game, int16_t n) : game_(game), active_(n > 0)
{
    if (!active_)
        return;
    game_.m_.scaduto = false;
    game_.scheduler_.startTimer1(n * 10);
}

Game::Pause::~Pause()
{
    if (active_)
        game_.scheduler_.stopTimer1();
}

Game::Pause Game::verifica()
{
    m_.coppia = false;
    const void* a = table_.facePicture(m_.prima);
    m_.coppia = a != nullptr && a == table_.facePicture(m_.seconda);
    return Pause(*this, m_.coppia ? 0 : 150);
}

void Game::uncover(int16_t c)
{
    table_.setFaceVisible(c, true);
    table_.setBackVisible(m_.ncarte, c, false);
}

void Game::cover(int16_t c)
{
    table_.setFaceVisible(c, false);
    table_.setBackVisible(m_.ncarte, c, true);
}

void Game::setUp()
{
    m_.prima = 0;
    m_.seconda = 0;
    Mescola(40, m_, random_);
    for (int16_t c = 1; c <= m_.ncarte; ++c)
        table_.createFace(c);
    const int16_t half = m_.ncarte / 2;
    for (int16_t c = 1; c <= half; ++c)
        table_.setFaceFromPic(c, m_.ordine[c]);
    for (int16_t c = half + 1; c <= m_.ncarte; ++c)
        table_.setFaceFromFace(c, c - half);
    Mescola(m_.ncarte, m_, random_);
    computeGrid(m_);
    m_.trovate = 0;
    int16_t j = 0;
    for (int16_t r = 0; r < m_.righe; ++r) {
        for (int16_t k = 0; k < m_.colonne(); ++k) {
            const int16_t c = m_.ordine[++j];
            const CellRect cell{m_.sinistra + k * m_.lato, m_.sopra + r * m_.lato, m_.lato, m_.lato};
            table_.moveFace(c, cell);
            table_.moveBack(m_.ncarte, c, cell);
            table_.setBackVisible(m_.ncarte, c, true);
        }
    }
}

void Game::leaveTable()
{
    m_.prima = 0;
    m_.seconda = 0;
    for (int16_t c = 1; c <= m_.ncarte; ++c) {
        table_.setFaceVisible(c, false);
        table_.setBackVisible(m_.ncarte, c, true);
    }
    m_.stato = 0;
    table_.showStartWindow();
}

GameLoopTask Game::loop()
{
    setUp();
    m_.prima = 0;
    m_.seconda = 0;
    for (;;) {
        if (m_.trovate == m_.ncarte) {
            m_.trovate = 0;
            co_await ritardo(100);
        }
        m_.cliccata = 0;
        for (;;) {
            co_await Suspend{*this, Wait::Event};
            if (m_.stato == TableModel::kLeaveTable)
                leaveTable();
            if (m_.cliccata != 0)
                break;
        }
        uncover(m_.cliccata);
        if (m_.seconda == 0)
            continue;
        // Two clicks recorded in one pass: the first card is still covered.
        uncover(m_.prima);
        co_await verifica();
        if (m_.coppia) {
            m_.trovate += 2;
        } else {
            // The exit control may have cleared the move during the pause.
            if (m_.prima != 0)
                table_.setFaceVisible(m_.prima, false);
            if (m_.seconda != 0)
                table_.setFaceVisible(m_.seconda, false);
            if (m_.prima != 0)
                table_.setBackVisible(m_.ncarte, m_.prima, true);
            if (m_.seconda != 0)
                table_.setBackVisible(m_.ncarte, m_.seconda, true);
        }
        m_.prima = 0;
        m_.seconda = 0;
    }
}

}  // namespace pairly
