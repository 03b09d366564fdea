// Writes the program's icon as PNG files, one per size, into a hicolor icon
// theme tree: DIR/NxN/apps/vantrel.png.
#include <QDir>
#include <QGuiApplication>

#include <cstdio>

#include "qt/app_icon.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) || !vantrel::PaintAppIcon(size).save(folder + QStringLiteral("/vantrel.png"))) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
