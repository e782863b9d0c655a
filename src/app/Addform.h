// The "Add objects" dialog: reads one event file into a fresh set, shifts its
// IDs, interpolates it if asked and merges it into the target set.
#pragma once

#include <QDialog>
#include <QString>

struct orvoEventSet;
class TFormMain;
class TUiServices;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TAdd_frm : public QDialog
{
    Q_OBJECT

public:
    TAdd_frm(TFormMain& main_form, TUiServices& ui, QWidget* parent = nullptr);

    // Set by the commands before ShowModal.
    orvoEventSet* target_set = nullptr;
    QString file_title;
    QString file_filter;

    int ShowModal();

    void load_btClick();
    void cancel_btClick();

private:
    TFormMain& main_form_;
    TUiServices& ui_;
    QGroupBox* offset_gb;
    QLineEdit* offset_ed;
    QPlainTextEdit* offset_mm;
    QGroupBox* interpolation_gb;
    QCheckBox* interpolate_chb;
    QPlainTextEdit* interpolation_mm;
    QGroupBox* load_gb;
    QPushButton* load_bt;
    QPlainTextEdit* load_mm;
    QPushButton* cancel_bt;
};
