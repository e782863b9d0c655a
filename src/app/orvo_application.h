// The program's three forms, created in their order and wired together: the
// main window, the history window and the "Add objects" dialog.
#pragma once

#include <memory>

#include <QString>

#include "Addform.h"
#include "Historyform.h"
#include "Mainform.h"

class TUiServices;

struct TOrvoApplication {
  explicit TOrvoApplication(TUiServices& ui, const QString& history_file = QStringLiteral("history.txt"));
  ~TOrvoApplication();
  TOrvoApplication(const TOrvoApplication&) = delete;
  TOrvoApplication& operator=(const TOrvoApplication&) = delete;

  std::unique_ptr<TFormMain> FormMain;
  std::unique_ptr<Tfrm_History> frm_History;
  std::unique_ptr<TAdd_frm> Add_frm;
};
