#pragma once
// Counts the paint events a widget receives, for the benchmarks that time an
// action to the widget painted anew.

#include <QEvent>
#include <QObject>

namespace kalventa::bench {

class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace kalventa::bench
