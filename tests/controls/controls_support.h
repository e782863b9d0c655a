// Helpers for the display control suites: a shown host window, paint
// counting, and pixels of what a widget shows.
#pragma once

#include <memory>

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QWidget>

// Lets queued updates reach the screen.
inline void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) : FWidget(widget) { widget->installEventFilter(this); }
    ~PaintCounter() override
    {
        if (FWidget)
            FWidget->removeEventFilter(this);
    }
    int Count() const { return FCount; }
    // Settles, then forgets what came so far.
    void Reset()
    {
        Settle();
        FCount = 0;
    }
    int CountAfterSettle()
    {
        Settle();
        return FCount;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++FCount;
        return false;
    }

private:
    QPointer<QWidget> FWidget;
    int FCount = 0;
};

// A top-level window of the given size, shown and exposed.
inline std::unique_ptr<QWidget> ShownHost(int width, int height)
{
    auto host = std::make_unique<QWidget>();
    host->setGeometry(50, 50, width, height);
    host->show();
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(host.get());
    Settle();
    return host;
}

inline QImage Grab(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor PixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}
