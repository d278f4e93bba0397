// Start-up measurement (bench/startup.sh): with VENTRANO_FIRST_PAINT set in
// the environment, a window writes "first-paint <microseconds since the
// epoch>" on standard error once its first paint has reached the screen.
// Without the variable nothing is installed. Header-only and Qt Widgets
// only, so that the bare comparison window uses the very same code.
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace platform {

class FirstPaintReport : public QObject {
public:
    explicit FirstPaintReport(QWidget *window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The paint of the children and the flush to the screen end
            // before the event loop's next pass.
            QTimer::singleShot(0, this, [this] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::fprintf(stderr, "first-paint %lld\n",
                             static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
                std::fflush(stderr);
                deleteLater();
            });
        }
        return false;
    }
};

inline void reportFirstPaint(QWidget *window)
{
    if (qEnvironmentVariableIsSet("VENTRANO_FIRST_PAINT")) new FirstPaintReport(window);
}

} // namespace platform
