// Writes the program's icon, the logo of the window's left edge, as
// <folder>/scalable/WingharbourClient.svg and <folder>/<n>x<n>/WingharbourClient.png
// for each size given: WingharbourIconGen <folder> 48 256

#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSvgGenerator>

#include "app/LogoWidget.h"

namespace {

bool MakeFolder(const QString& path) { return QDir().mkpath(path); }

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [size...]\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int side = wh::TLogoWidget::Width;
    if (!MakeFolder(folder + "/scalable"))
        return 1;
    QSvgGenerator svg;
    svg.setFileName(folder + "/scalable/WingharbourClient.svg");
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, side, side));
    svg.setTitle(QStringLiteral("Wingharbour Client"));
    wh::DrawLogoSquare(svg, side);

    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0)
            return 2;
        const QString dir = folder + QStringLiteral("/%1x%1").arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        wh::DrawLogoSquare(image, size);
        if (!MakeFolder(dir) || !image.save(dir + "/WingharbourClient.png"))
            return 1;
    }
    return 0;
}
