#include "orvo_ui_services.h"

#include <QStringList>

QList<TFileFilterEntry> ParseFileFilter(const QString& filter)
{
    QList<TFileFilterEntry> entries;
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (filter.isEmpty()) return entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        TFileFilterEntry entry;
        entry.description = parts[i].trimmed();
        const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        for (const QString& p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            entry.patterns << p.trimmed();
        if (entry.patterns.isEmpty()) entry.patterns << QStringLiteral("*");
        entries << entry;
    }
    return entries;
}

QString QtFileFilter(const QString& filter)
{
    QStringList out;
    for (const TFileFilterEntry& entry : ParseFileFilter(filter)) {
        const QString patterns = entry.patterns.join(QLatin1Char(' '));
        // Qt reads the patterns from the parentheses; a description that
        // already shows them ("Text files (*.txt)") stays as it is.
        if (entry.description.contains(QLatin1Char('(')))
            out << entry.description;
        else
            out << QStringLiteral("%1 (%2)").arg(entry.description, patterns);
    }
    return out.join(QStringLiteral(";;"));
}
