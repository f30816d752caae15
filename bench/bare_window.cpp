// The yardstick for Vantrix's idle cost and start-up: a bare Qt window that
// shows one line of text (so that it pays for fonts, as any window with
// words does) and repaints a 300-point line every 0.5 s (as a watcher's
// graph does), and nothing else.
#include <QApplication>
#include <QPainter>
#include <QPolygonF>
#include <QTimer>
#include <QWidget>
#include <cmath>

namespace {

class TLineWindow : public QWidget {
public:
    TLineWindow() {
        setWindowTitle(QStringLiteral("Bare"));
        resize(475, 429);
        connect(&FTimer, &QTimer::timeout, this, [this] {
            ++phase_;
            update();
        });
        FTimer.start(500);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        QPolygonF line;
        for (int i = 0; i < 300; ++i)
            line << QPointF(i * width() / 300.0, height() / 2.0 + std::sin((i + phase_) / 9.0) * height() / 3.0);
        p.setPen(Qt::green);
        p.drawPolyline(line);
        p.drawText(QPointF(8, 8 + fontMetrics().ascent()), QStringLiteral("Bare Qt window"));
    }

private:
    QTimer FTimer;
    int phase_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TLineWindow w;
    w.show();
    return QApplication::exec();
}
