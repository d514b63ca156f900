// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "card_cursor.h"
#include "card_places.h"
#include "card_table.h"
#include "event_loop_scheduler.h"
#include "panels.h"
#include "table_accessibility.h"

#include "engine/game.h"
#include "resources/design/window_designs.h"
#include "resources/picture_set.h"
#include "sound/card_rustle.h"
#include "sound/media_device.h"
#include "sound/music.h"
#include "sound/music_strip.h"
#include "ui/common/caption_label.h"
#include "ui/common/control_set.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"
#include "ui/common/menu_bar.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"
#include "ui/common/screen_fit.h"
#include "ui/common/screen_reader_focus.h"
#include "ui/common/window_links.h"
#include "ui/common/window_icon.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMenuBar>

#include <algorithm>
#include <tuple>

namespace pairly {
namespace {

constexpr QColor kExitNormal{255, 255, 0};
constexpr QColor kExitHover{255, 128, 0};

PictureRef designedPicture(const ControlDesign& control)
{
    const PictureSet& set = PictureSet::embedded();
    switch (control.picture.source) {
    case PictureDesign::Source::Face:
        return set.face(control.picture.number);
    case PictureDesign::Source::CardBack:
        return set.back(control.picture.number);
    case PictureDesign::Source::None:
        break;
    }
    return nullptr;
}

int toPixel(float v)
{
    return qRound(v);
}

}  // namespace

Form1::Form1(std::shared_ptr<AudioBackend> audio, StartWindowLink& start, QWidget* parent)
    : QMainWindow(parent), audio_(std::move(audio)), start_(start)
{
    const WindowDesign& design = form1Design();
    setObjectName(design.name);
    setWindowTitle(design.title);
    setWindowIcon(pairlyIcon());

    installTableAccessibility();
    surface_ = new SurfaceWidget(this);
    setCentralWidget(surface_);
    controls_ = std::make_unique<ControlSet>(*surface_, design, designedPicture);
    menu_ = std::make_unique<MenuBar>(*menuBar(), design.menu);

    Img_ = controls_->imageArray(u"Img");
    Pic_ = controls_->imageArray(u"Pic");
    dorso20_ = controls_->imageArray(u"dorso20");
    dorso48_ = controls_->imageArray(u"dorso48");
    Dorso80_ = controls_->imageArray(u"Dorso80");
    Text1_ = controls_->textBox(u"Text1");
    Text2_ = controls_->textBox(u"Text2");
    Text3_ = controls_->textBox(u"Text3");
    lblquit_ = controls_->label(u"lblquit");

    MMCw_ = new MediaDevice(audio_, this);
    MMC1_ = new MediaDevice(audio_, this);
    if (const ControlDesign* mmcw = design.find(u"MMCw"))
        MMCw_->setDeviceType(mmcw->deviceType);
    strip_ = new MusicStrip(*MMC1_, surface_);
    if (const ControlDesign* mmc1 = design.find(u"MMC1"))
        strip_->move(mmc1->pixelRect().topLeft());
    strip_->resize(strip_->sizeHint());
    strip_->setVisible(false);
    // The strip lies over the cards and under the panels.
    const QObjectList& stack = surface_->children();
    strip_->stackUnder(std::min({Text1_, Text2_, Text3_}, [&stack](TextPanel* a, TextPanel* b) {
        return stack.indexOf(a) < stack.indexOf(b);
    }));
    for (ImageArray* cards : {Img_, dorso20_, dorso48_, Dorso80_})
        cards->setStackCeiling(strip_);
    fit_ = new ScreenFit(*this);

    scheduler_ = new EventLoopScheduler(this);
    panels_ = std::make_unique<Panels>(Text1_, Text2_, Text3_);
    MusicMenu musicMenu{menu_->action(u"nomusic"), menu_->action(u"all"), {}};
    for (int16_t k = 1; k <= Music::kSongCount; ++k)
        musicMenu.canzoni[k - 1] = menu_->action(u"canzoni", k);
    music_ = std::make_unique<Music>(*MMC1_, musicMenu);
    rustle_ = std::make_unique<CardRustle>(*MMCw_, menu_->action(u"cards"));

    table_ = std::make_unique<CardTable>(
        CardTable::Arrays{Img_, Pic_, dorso20_, dorso48_, Dorso80_},
        CardTable::Window{
            [this] { panels_->hideAll(); },
            [this] { start_.showStartWindow(); },
            [this] { return rustle_->isOn(); },
            [this] { rustle_->playOnCardTurn(); },
            [this] {
                if (access_)
                    access_->cardsChanged();
            },
        });
    game_ = std::make_unique<Game>(*table_, *scheduler_, random_);
    places_ = std::make_unique<CardPlaces>(*game_, *table_);
    cursor_ = std::make_unique<CardCursor>(*this, *surface_, *places_, *lblquit_, dorso20_->stackCeiling(),
                                           kExitNormal, kExitHover);
    focus_ = std::make_unique<ScreenReaderFocus>(*surface_);
    // A panel the player opens is read out, named as the menu item that opened it.
    for (auto [panel, item, index] : {std::tuple{Text1_, u"italiano", 1}, {Text2_, u"inglese", 2},
                                      {Text3_, u"menu_about", kNoIndex}}) {
        focus_->addPanel(panel);
        if (QAction* action = menu_->action(item, index))
            panel->setAccessibleName(action->iconText());
    }
    focus_->setSettling([this] { return game_->passPending(); });
    access_ = std::make_unique<TableAccessibility>(*surface_, *places_, *cursor_, *lblquit_, *focus_);
    connect(cursor_.get(), &CardCursor::refused, access_.get(), &TableAccessibility::refused);
    scheduler_->setHandlers([this] { game_->runPass(); }, [this] { game_->Timer1_Timer(); });

    connectHandlers();
}

Form1::~Form1() = default;

void Form1::connectHandlers()
{
    connect(dorso20_, &ImageArray::clicked, this, [this](int i) { dorso20_Click(static_cast<int16_t>(i)); });
    connect(dorso48_, &ImageArray::clicked, this, [this](int i) { dorso48_Click(static_cast<int16_t>(i)); });
    connect(Dorso80_, &ImageArray::clicked, this, [this](int i) { dorso80_Click(static_cast<int16_t>(i)); });
    connect(lblquit_, &CaptionLabel::clicked, this, &Form1::lblquit_Click);
    connect(lblquit_, &CaptionLabel::mouseMoved, this, &Form1::lblquit_MouseMove);
    connect(surface_, &SurfaceWidget::mouseMoved, this, &Form1::Form_MouseMove);
    connect(Text1_, &TextPanel::clicked, this, [this] { panels_->Text1_Click(); });
    connect(Text2_, &TextPanel::clicked, this, [this] { panels_->Text2_Click(); });
    connect(Text3_, &TextPanel::clicked, this, [this] { panels_->Text3_Click(); });

    const auto on = [this](QStringView name, int index, auto handler) {
        if (QAction* action = menu_->action(name, index))
            connect(action, &QAction::triggered, this, handler);
    };
    on(u"italiano", 1, [this] { panels_->italiano_Click(); });
    on(u"inglese", 2, [this] { panels_->inglese_Click(); });
    on(u"menu_about", kNoIndex, [this] { panels_->menu_about_Click(); });
    on(u"venti", kNoIndex, [this] { venti_Click(); });
    on(u"quarantotto", kNoIndex, [this] { quarantotto_Click(); });
    on(u"ottanta", kNoIndex, [this] { ottanta_Click(); });
    on(u"cards", kNoIndex, [this] { rustle_->cards_Click(); });
    on(u"nomusic", kNoIndex, [this] { music_->nomusic_Click(); });
    on(u"all", kNoIndex, [this] { music_->all_Click(); });
    for (int16_t k = 1; k <= Music::kSongCount; ++k)
        on(u"canzoni", k, [this, k] { music_->canzoni_Click(k); });
}

ImageArray* Form1::backs(int16_t size) const
{
    return table_->backs(size);
}

TextPanel* Form1::Text(int n) const
{
    switch (n) {
    case 1:
        return Text1_;
    case 2:
        return Text2_;
    case 3:
        return Text3_;
    default:
        return nullptr;
    }
}

void Form1::showFromStartWindow()
{
    if (loaded_) {
        // Dealt before the window is painted: it comes up with the new game.
        Form_Activate();
        showInFront(*this);
        return;
    }
    Form_Load();
    // The first game waits for the size the window really has.
    connect(fit_, &ScreenFit::settled, this, [this] {
        recordInnerSize();
        if (!unloading_)
            Form_Activate();
    }, Qt::SingleShotConnection);
    showInFront(*this);
}

void Form1::recordInnerSize()
{
    TableModel& m = game_->model();
    m.larghezza = surface_->width();
    m.altezza = surface_->height();
}

void Form1::closeEvent(QCloseEvent* e)
{
    e->accept();
    unload();
}

void Form1::unload()
{
    if (!loaded_ || unloading_)
        return;
    unloading_ = true;
    Form_Unload();
}

void Form1::Form_Load()
{
    loaded_ = true;
    TableModel& m = game_->model();

    fit_->fit();
    if (QLayout* l = layout())
        l->activate();
    recordInnerSize();

    rustle_->startUp();
    music_->startUp();

    m.stato = 0;
    game_->setSize(20, 4);

    menu_->action(u"venti")->setChecked(true);
    menu_->action(u"quarantotto")->setChecked(false);
    menu_->action(u"ottanta")->setChecked(false);

    for (int16_t i = 1; i <= 20; ++i)
        dorso20_->create(i);
    for (int16_t i = 1; i <= 48; ++i)
        dorso48_->create(i);
    for (int16_t i = 1; i <= 80; ++i)
        Dorso80_->create(i);
}

void Form1::Form_Activate()
{
    const auto W = static_cast<float>(game_->model().larghezza);
    const auto H = static_cast<float>(game_->model().altezza);
    for (TextPanel* rules : {Text1_, Text2_}) {
        rules->setGeometry(toPixel(W * 0.005f), 0, toPixel(W * 0.4f), toPixel(H * 0.4f));
        rules->hide();
    }
    Text3_->move(toPixel(W * 0.15f), 0);
    Text3_->setText(start_.versionText());
    lblquit_->move(toPixel(W * 105 / 120), toPixel(H * 103 / 120));

    // A game started by an activation always shows a covered table.
    game_->hideAllFaces();
    cursor_->reset();
    game_->Main();
}

void Form1::Form_Unload()
{
    MMC1_->setCommand(QStringLiteral("close"));
    MMCw_->setCommand(QStringLiteral("close"));
    start_.unloadStartWindow();
    hide();
    QCoreApplication::exit(0);
}

void Form1::Form_MouseMove()
{
    lblquit_->setForeground(kExitNormal);
}

void Form1::lblquit_MouseMove()
{
    lblquit_->setForeground(kExitHover);
}

void Form1::lblquit_Click()
{
    game_->requestLeaveTable();
    for (int16_t i = 1; i <= TableModel::kMaxCards; ++i) {
        if (ImageControl* face = Img_->element(i))
            face->hide();
        for (ImageArray* array : {dorso20_, dorso48_, Dorso80_}) {
            if (ImageControl* back = array->element(i))
                back->move(100000, 10000);
        }
    }
    start_.showStartWindow();
}

void Form1::venti_Click()
{
    sizeCommand({20, 4, {48, 80}, {menu_->action(u"venti"), menu_->action(u"quarantotto"), menu_->action(u"ottanta")}});
}

void Form1::quarantotto_Click()
{
    sizeCommand({48, 6, {20, 80}, {menu_->action(u"quarantotto"), menu_->action(u"venti"), menu_->action(u"ottanta")}});
}

void Form1::ottanta_Click()
{
    sizeCommand({80, 8, {20, 48}, {menu_->action(u"ottanta"), menu_->action(u"venti"), menu_->action(u"quarantotto")}});
}

void Form1::sizeCommand(const SizeRow& row)
{
    panels_->hideAll();
    game_->hideAllFaces();
    for (int16_t size : row.away) {
        ImageArray* array = table_->backs(size);
        for (int16_t i = 1; i <= size; ++i) {
            if (ImageControl* back = array->element(i))
                back->move(10000, 10000);
        }
    }
    game_->setSize(row.ncarte, row.righe);
    row.marks[0]->setChecked(true);
    row.marks[1]->setChecked(false);
    row.marks[2]->setChecked(false);
    game_->Main();
    cursor_->tableResized();
}

void Form1::dorso20_Click(int16_t Index)
{
    game_->dorsoClick(20, Index);
}

void Form1::dorso48_Click(int16_t Index)
{
    game_->dorsoClick(48, Index);
}

void Form1::dorso80_Click(int16_t Index)
{
    game_->dorsoClick(80, Index);
}

}  // namespace pairly
