// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/probe_application.h"

#include "resources/jpeg_decoder.h"

#include <QFile>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <array>
#include <cstdio>

namespace {

// The start window's floor: the same window as the program's start window,
// written as a minimal Qt program. The title picture on the dark green, drawn
// at its natural size from the top-left corner, and "Info", "Play" and "Quit"
// in yellow 18 pt bold sans serif at their fractions of the inner size.
class TitleWindow final : public QWidget {
public:
    explicit TitleWindow(QImage picture) : picture_(std::move(picture))
    {
        setWindowTitle(QStringLiteral("Quernavellistro  -  Pairly"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        QFont font(QStringLiteral("Sans Serif"), 18, QFont::Bold);
        font.setStyleHint(QFont::SansSerif);
        QPalette yellow;
        yellow.setColor(QPalette::WindowText, QColor(255, 255, 0));
        const std::array<std::pair<const char*, QSize>, 3> captions{
            {{"Info", {74, 37}}, {"Play", {153, 33}}, {"Quit", {74, 37}}}};
        for (size_t i = 0; i < labels_.size(); ++i) {
            labels_[i] = new QLabel(QString::fromLatin1(captions[i].first), this);
            labels_[i]->setFont(font);
            labels_[i]->setPalette(yellow);
            labels_[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            labels_[i]->resize(captions[i].second);
        }
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(0, 64, 0));
        painter.drawImage(0, 0, picture_);
    }

    void resizeEvent(QResizeEvent*) override
    {
        const int top = qRound(height() * 106.5 / 120);
        const std::array<double, 3> columns{15.0 / 120, 50.0 / 120, 105.0 / 120};
        for (size_t i = 0; i < labels_.size(); ++i)
            labels_[i]->move(qRound(width() * columns[i]), top);
    }

private:
    QImage picture_;
    std::array<QLabel*, 3> labels_{};
};

}  // namespace

// Prints when the window was first painted and its peak memory, then ends.
// Its picture is decoded the cheapest way, with libjpeg-turbo without Qt's
// image plugin, as the program decodes it.
int main(int argc, char** argv)
{
    const int64_t entered = pairly::bench::monotonicMicros();
    pairly::bench::ProbeApplication app(argc, argv);
    std::printf("main_us %lld\napp_us %lld\n", static_cast<long long>(entered),
                static_cast<long long>(pairly::bench::monotonicMicros()));
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/lumora pairly.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray jpeg = file.readAll();
    TitleWindow window(pairly::decodeJpeg(jpeg, [](qint64, qint64) { return nullptr; }).image);
    window.setGeometry(window.screen()->geometry());
    app.reportFirstPaint(window);
    window.show();
    return app.exec();
}
