#include "Historyform.h"

#include <cstdio>
#include <cstring>

#include <QFile>
#include <QPlainTextEdit>

QStringList ReadHistoryFile(const QString& path)
{
    QStringList lines;
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "r");
    if (!file) return lines;
    char piece[1024];
    bool cut = false;  // the previous piece ended inside a line
    while (std::fgets(piece, sizeof piece, file)) {
        size_t n = std::strlen(piece);
        const bool ended = n > 0 && piece[n - 1] == '\n';
        if (ended) --n;
        if (ended && n > 0 && piece[n - 1] == '\r') --n;
        // A line of exactly 1023 characters leaves its break as a piece of its
        // own; it ends that line and is no empty line of the file.
        if (!(cut && ended && n == 0)) lines << QString::fromUtf8(piece, static_cast<qsizetype>(n));
        cut = !ended;
    }
    std::fclose(file);
    return lines;
}

Tfrm_History::Tfrm_History(const QString& history_file, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mem_History(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frm_History"));
    setWindowTitle(QStringLiteral("Evaluator History"));
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(511, 442);
    mem_History->setObjectName(QStringLiteral("mem_History"));
    mem_History->setReadOnly(true);
    mem_History->setLineWrapMode(QPlainTextEdit::NoWrap);
    mem_History->setGeometry(0, 0, 511, 442);
    mem_History->clear();
    lines_ = ReadHistoryFile(history_file);
    mem_History->setPlainText(lines_.join(QLatin1Char('\n')));
}
