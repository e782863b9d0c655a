// The window with the tool's version history, read once when it is created.
#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

// The lines of a history file as the window shows them: pieces of at most
// 1023 characters per line, without line breaks. No file: no lines.
QStringList ReadHistoryFile(const QString& path);

class Tfrm_History : public QDialog
{
    Q_OBJECT

public:
    explicit Tfrm_History(const QString& history_file = QStringLiteral("history.txt"),
                          QWidget* parent = nullptr);

    QStringList Lines() const { return lines_; }

private:
    QPlainTextEdit* mem_History;
    QStringList lines_;
};
