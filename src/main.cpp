// Vantrel: practice the bidding and play of four-handed partnership pinochle.
#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "qt/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));

    vantrel::MainWindow window;
    window.show();

    // Where no screen is at hand, the start-up window can be written to a PNG
    // file instead; the command line stays ignored, as it always is.
    const QString snapshot = qEnvironmentVariable("VANTREL_SNAPSHOT");
    if (!snapshot.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, snapshot] {
            const bool saved = window.grab().save(snapshot, "PNG");
            std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "Snapshot written to" : "Could not write",
                         qPrintable(snapshot));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
