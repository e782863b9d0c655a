#include "orvo_numbers_ui.h"

#include <cmath>
#include <limits>
#include <stdexcept>

QLocale TableLocale(const QLocale& locale)
{
    QLocale out(locale);
    out.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return out;
}

QString FormatFloat(const QLocale& locale, double value, int decimals)
{
    // Tables call this for every cell they paint: no copy when the locale
    // is one of TableLocale's already.
    if (locale.numberOptions() & QLocale::OmitGroupSeparator) return locale.toString(value, 'f', decimals);
    return TableLocale(locale).toString(value, 'f', decimals);
}

float StrToFloat(const QLocale& locale, const QString& text)
{
    bool ok = false;
    const double value = TableLocale(locale).toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw std::invalid_argument("'" + text.toStdString() + "' is not a valid floating point value");
    return static_cast<float>(value);
}

namespace {

bool ParseInteger(const QString& text, qint64 low, qint64 high, qint64* value)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && (c == u'-' || c == u'+'))) return false;
    }
    bool ok = false;
    const qint64 v = t.toLongLong(&ok, 10);
    if (!ok || v < low || v > high) return false;
    *value = v;
    return true;
}

}  // namespace

int32_t StrToInt(const QString& text)
{
    qint64 v = 0;
    if (!ParseInteger(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), &v))
        throw std::invalid_argument("'" + text.toStdString() + "' is not a valid integer value");
    return static_cast<int32_t>(v);
}

int32_t StrToIntDef(const QString& text, int32_t fallback)
{
    qint64 v = 0;
    if (!ParseInteger(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), &v))
        return fallback;
    return static_cast<int32_t>(v);
}

int32_t StrToType(const QString& text)
{
    qint64 v = 0;
    if (!ParseInteger(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max(), &v))
        throw std::invalid_argument("'" + text.toStdString() + "' is not a valid integer value");
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}
