// Writes the program's icon, the logo of the window's left edge, as
// <folder>/scalable/WingharbourClient.svg and <folder>/<n>x<n>/WingharbourClient.png
// for each size given: WingharbourIconGen <folder> 48 256

#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "app/LogoWidget.h"

namespace {

// The logo is drawn for a fixed width; a square of that width keeps the
// wing, the harbour and the name.
void Draw(wh::TLogoWidget& logo, QPaintDevice& device, int side) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(side) / logo.width(), qreal(side) / logo.height());
    logo.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

bool MakeFolder(const QString& path) { return QDir().mkpath(path); }

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [size...]\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    wh::TLogoWidget logo;
    logo.resize(logo.width(), logo.width());

    const int side = logo.width();
    if (!MakeFolder(folder + "/scalable"))
        return 1;
    QSvgGenerator svg;
    svg.setFileName(folder + "/scalable/WingharbourClient.svg");
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, side, side));
    svg.setTitle(QStringLiteral("Wingharbour Client"));
    Draw(logo, svg, side);

    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0)
            return 2;
        const QString dir = folder + QStringLiteral("/%1x%1").arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        Draw(logo, image, size);
        if (!MakeFolder(dir) || !image.save(dir + "/WingharbourClient.png"))
            return 1;
    }
    return 0;
}
