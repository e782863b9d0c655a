#include "orvo_qt_ui_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

// Dialogs asked for from inside a modal window (the "Add objects" dialog)
// belong to that window, so they come up over it.
QWidget* TQtUiServices::Owner() const
{
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return parent_;
}

bool TQtUiServices::RunFileDialog(bool save, const QString& title, const QString& filter,
                                  int* filter_index, QString* file)
{
    QFileDialog dialog(Owner(), title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The commands own the overwrite rules (a report replaces, a brief line
    // appends), so the dialog does not ask.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = QtFileFilter(filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = filter_index ? *filter_index : 1;
        if (index >= 1 && index <= filters.size()) dialog.selectNameFilter(filters[index - 1]);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *file = dialog.selectedFiles().first();
    if (filter_index) {
        const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
        *filter_index = chosen >= 0 ? static_cast<int>(chosen) + 1 : 1;
    }
    return true;
}

bool TQtUiServices::OpenFile(const QString& title, const QString& filter, int* filter_index,
                             QString* file)
{
    return RunFileDialog(false, title, filter, filter_index, file);
}

bool TQtUiServices::SaveFile(const QString& title, const QString& filter, int* filter_index,
                             QString* file)
{
    return RunFileDialog(true, title, filter, filter_index, file);
}

bool TQtUiServices::InputQuery(const QString& caption, const QString& prompt, QString* value)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(Owner(), caption, prompt, QLineEdit::Normal, *value, &ok);
    if (ok) *value = answer;
    return ok;
}

void TQtUiServices::ShowMessage(const QString& caption, const QString& text)
{
    QMessageBox::warning(Owner(), caption, text, QMessageBox::Ok);
}

void TQtUiServices::ShowException(const QString& message)
{
    QMessageBox::critical(Owner(), QApplication::applicationName(), message, QMessageBox::Ok);
}
