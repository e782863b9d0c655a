#include "orvo_application.h"

TOrvoApplication::TOrvoApplication(TUiServices& ui, const QString& history_file)
{
    FormMain = std::make_unique<TFormMain>(ui);
    FormMain->SetHelpFile(QStringLiteral("ORVO_EVALUATOR.HLP"));
    frm_History = std::make_unique<Tfrm_History>(history_file);
    Add_frm = std::make_unique<TAdd_frm>(*FormMain, ui);
    FormMain->SetHistoryForm(frm_History.get());
    FormMain->SetAddForm(Add_frm.get());
}

TOrvoApplication::~TOrvoApplication()
{
    // The main window keeps pointers to the dialogs: it goes first.
    FormMain.reset();
}
