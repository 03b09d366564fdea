// Vantrel: practice the bidding and play of four-handed partnership pinochle.
#include <QApplication>
#include <QFile>
#include <QTimer>

#include <chrono>
#include <cstdio>

#include "qt/main_window.h"

namespace {

// With VANTREL_TIMING set, the first paint of the window is reported with the
// wall clock and the resident memory, for the start-up figures.
class FirstPaintReporter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                QFile status(QStringLiteral("/proc/self/status"));
                QByteArray rss = "?";
                if (status.open(QIODevice::ReadOnly))
                    for (const QByteArray& line : status.readAll().split('\n'))
                        if (line.startsWith("VmRSS:")) rss = line.mid(6).simplified();
                std::fprintf(stderr, "first-paint-ns %lld\nrss %s\n",
                             static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                             rss.constData());
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool reported_ = false;
};

}  // namespace

int main(int /*argc*/, char* argv[]) {
    // The command line is ignored, Qt's own options (-reverse, -stylesheet,
    // -style, -platform, ...) included: only the program's name reaches Qt.
    // Qt's environment variables, such as QT_QPA_PLATFORM, still apply.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setOrganizationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));

    vantrel::MainWindow window;
    if (qEnvironmentVariableIsSet("VANTREL_TIMING")) window.installEventFilter(new FirstPaintReporter(&window));
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
