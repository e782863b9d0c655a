// Numbers as the window shows and reads them: reals with the window's locale,
// integers as plain decimals. Conversion failures throw with the message the
// user sees in the error box.
#pragma once

#include <cstdint>

#include <QLocale>
#include <QString>

// A copy of the locale that neither writes nor accepts group separators, so
// "0,33" is never read as 33 where the comma groups thousands.
QLocale TableLocale(const QLocale& locale);

// decimals digits after the separator, rounded; 0 gives a whole number.
QString FormatFloat(const QLocale& locale, double value, int decimals);
// Throws std::invalid_argument unless the text is a finite number in the locale.
float StrToFloat(const QLocale& locale, const QString& text);
// Throws std::invalid_argument unless the text is a 32-bit decimal integer.
int32_t StrToInt(const QString& text);
int32_t StrToIntDef(const QString& text, int32_t fallback);
// An event type as the type list writes it (unsigned decimal) back to its
// 32-bit value; signed texts are accepted too.
int32_t StrToType(const QString& text);
