// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmmain.h"

#include "resources/design/window_designs.h"
#include "resources/program_folder.h"
#include "resources/stored_picture.h"
#include "ui/common/caption_label.h"
#include "ui/common/control_set.h"
#include "ui/common/keyboard_attention.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"
#include "ui/common/screen_fit.h"
#include "ui/common/screen_reader_focus.h"
#include "ui/common/window_icon.h"
#include "ui/common/window_links.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace pairly {
namespace {

constexpr QColor kNormal{255, 255, 0};
constexpr QColor kHover{255, 128, 0};

}  // namespace

frmmain::frmmain(GameWindowLink& game, QWidget* parent)
    : QWidget(parent),
      game_(game),
      titlePicture_(std::async(std::launch::async, loadPictureFile, besideProgram(QStringLiteral("\\lumora pairly.jpg")),
                               QGuiApplication::primaryScreen()->devicePixelRatio()))
{
    const WindowDesign& design = frmmainDesign();
    setObjectName(design.name);
    setWindowTitle(design.title);

    surface_ = new SurfaceWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(surface_);
    // The version box, hidden until "Info", is built after the first paint:
    // laying out its text loads fonts the first paint does not use.
    controls_ = std::make_unique<ControlSet>(*surface_, design, PictureProvider{}, QStringList{QStringLiteral("Text4")});
    if (design.font)
        setFont(surface_->font());

    lblplay_ = controls_->label(u"lblplay");
    lblquit_ = controls_->label(u"lblquit");
    lblInfo_ = controls_->label(u"lblInfo");

    connect(surface_, &SurfaceWidget::mouseMoved, this, &frmmain::Form_MouseMove);
    connect(surface_, &SurfaceWidget::clicked, this, &frmmain::Form_Click);
    connect(lblplay_, &CaptionLabel::mouseMoved, this, &frmmain::lblplay_MouseMove);
    connect(lblquit_, &CaptionLabel::mouseMoved, this, &frmmain::lblquit_MouseMove);
    connect(lblInfo_, &CaptionLabel::mouseMoved, this, &frmmain::lblInfo_MouseMove);
    connect(lblInfo_, &CaptionLabel::clicked, this, &frmmain::lblInfo_Click);
    connect(lblplay_, &CaptionLabel::clicked, this, &frmmain::lblplay_Click);
    connect(lblquit_, &CaptionLabel::clicked, this, &frmmain::lblquit_Click);
    auto* attention = new KeyboardAttention(*this, {lblInfo_, lblplay_, lblquit_}, 1, kNormal, kHover);
    connect(surface_, &SurfaceWidget::mouseMoved, attention, &KeyboardAttention::clear);
    // A screen reader hears the label with the attention, and the version
    // box, named as the label that opens it, while it is shown.
    focus_ = new ScreenReaderFocus(*surface_);
    connect(attention, &KeyboardAttention::attentionGiven, focus_,
            [this](CaptionLabel* label) { focus_->setTarget(QAccessible::queryAccessibleInterface(label)); });
    // Read after the title, which the game window shares.
    setAccessibleDescription(
        QStringList{lblInfo_->text(), lblplay_->text(), lblquit_->text()}.join(QStringLiteral(", ")));
    connect(surface_, &SurfaceWidget::painted, this, &frmmain::firstPainted,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    fit_ = new ScreenFit(*this);
    surface_->installEventFilter(this);
    // Decoding the icon would delay the first paint; the frame shows it a
    // moment later.
    connect(this, &frmmain::firstPainted, this, [this] {
        setWindowIcon(pairlyIcon());
        Text4();
    });
}

frmmain::~frmmain() = default;

void frmmain::start()
{
    Form_Load();
    pairly::showInFront(*this);
}

void frmmain::showInFront()
{
    if (!unloading_)
        pairly::showInFront(*this);
}

QString frmmain::versionText()
{
    return Text4()->text();
}

TextPanel* frmmain::Text4()
{
    if (!Text4_) {
        Text4_ = controls_->textBox(u"Text4");
        connect(Text4_, &TextPanel::clicked, this, &frmmain::Text4_Click);
        focus_->addPanel(Text4_);
        Text4_->setAccessibleName(lblInfo_->text());
        Text4_->move(10, 0);
    }
    return Text4_;
}

bool frmmain::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == surface_ && e->type() == QEvent::Resize && loaded_)
        placeControls();
    return QWidget::eventFilter(watched, e);
}

void frmmain::closeEvent(QCloseEvent* e)
{
    e->accept();
    unload();
}

void frmmain::unload()
{
    if (unloading_)
        return;
    unloading_ = true;
    Form_Unload();
}

void frmmain::Form_Load()
{
    loaded_ = true;
    fit_->fit();
    if (QLayout* l = layout())
        l->activate();
    if (titlePicture_.valid())
        surface_->setBackgroundPicture(titlePicture_.get());
    placeControls();
}

// The labels' places are fractions of the inner size, read afresh at load
// and whenever the size changes: a window manager frames the window only
// once it is mapped, a compositor may maximize it a moment after showing it.
void frmmain::placeControls()
{
    const auto W = static_cast<float>(surface_->width());
    const auto H = static_cast<float>(surface_->height());
    // The row's height factor is a double, the column factors are singles.
    const auto top = static_cast<float>(H * (106.5 / 120));
    const auto at = [top](CaptionLabel* label, float left) { label->move(qRound(left), qRound(top)); };
    at(lblplay_, W * (50.0f / 120.0f));
    at(lblquit_, W * (105.0f / 120.0f));
    at(lblInfo_, W * (15.0f / 120.0f));
}

void frmmain::Form_MouseMove()
{
    lblplay_->setForeground(kNormal);
    lblquit_->setForeground(kNormal);
    lblInfo_->setForeground(kNormal);
}

void frmmain::Form_Click()
{
    Text4()->hide();
}

void frmmain::lblplay_MouseMove()
{
    lblplay_->setForeground(kHover);
}

void frmmain::lblquit_MouseMove()
{
    lblquit_->setForeground(kHover);
}

void frmmain::lblInfo_MouseMove()
{
    lblInfo_->setForeground(kHover);
}

void frmmain::lblInfo_Click()
{
    Text4()->setVisible(Text4()->isHidden());
}

void frmmain::Text4_Click()
{
    Text4_->hide();
}

// The start window is hidden rather than sent back: a compositor may refuse
// to restack windows, and a tiling one would share the screen with it.
void frmmain::lblplay_Click()
{
    game_.showGameWindow();
}

void frmmain::lblquit_Click()
{
    unload();
    QCoreApplication::exit(0);
}

void frmmain::Form_Unload()
{
    game_.unloadGameWindow();
    hide();
    QCoreApplication::exit(0);
}

}  // namespace pairly
