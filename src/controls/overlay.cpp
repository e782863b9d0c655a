#include "overlay.h"

#include <cmath>
#include <limits>

#include <QWidget>

void InvalidateOthers(QWidget* control)
{
    if (!control || control->isHidden())
        return;
    QWidget* parent = control->parentWidget();
    if (!parent || control->isWindow())
        return;
    const QRect bounds = control->geometry();
    parent->update(bounds);
    const QObjectList& siblings = parent->children();
    for (QObject* object : siblings) {
        auto* sibling = qobject_cast<QWidget*>(object);
        if (!sibling || sibling == control || sibling->isHidden() || sibling->isWindow())
            continue;
        const QRect common = sibling->geometry() & bounds;
        if (!common.isEmpty())
            sibling->update(common.translated(-sibling->pos()));
    }
}

uint32_t ColorRef(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<uint32_t>(rgb.red()) | (static_cast<uint32_t>(rgb.green()) << 8) |
           (static_cast<uint32_t>(rgb.blue()) << 16);
}

int32_t TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
