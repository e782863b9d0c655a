// The whole program's forms on the offscreen platform, driven through their
// real controls with scripted dialog answers.
#pragma once

#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QLocale>
#include <QString>

#include "orvo_application.h"
#include "orvo_scripted_ui_services.h"
#include "orvo_string_grid.h"
#include "temp_dir.h"

class AppTest : public ::testing::Test {
 protected:
  AppTest();
  ~AppTest() override;

  TFormMain& Main() { return *forms_->FormMain; }
  TAdd_frm& Add() { return *forms_->Add_frm; }
  orvoEventsEval& Context() { return *Main().EvalContext; }

  template <typename T>
  T* Find(const char* name)
  {
      T* found = Main().findChild<T*>(QLatin1String(name));
      if (!found) ADD_FAILURE() << "no control " << name;
      return found;
  }
  QAction* Item(const char* name) { return Find<QAction>(name); }
  TStringGrid* Grid(const char* name) { return Find<TStringGrid>(name); }

  // Runs a set command; inside the "Add objects" dialog presses Load, which
  // asks for the file and, for a text file, the event type. Returns whether
  // the dialog was still open after Load (it is then cancelled).
  bool LoadThroughDialog(const char* command, const QString& file,
                         std::optional<QString> type = QStringLiteral("0"));
  // A menu item or, by its name, a tool button.
  void Trigger(const char* command);
  // The same command closed with Cancel.
  void CancelDialog(const char* command);

  // Row r of a grid, its cells joined by "|".
  static QString Row(TStringGrid* grid, int row);
  static QString Column(TStringGrid* grid, int col);

  // Texts of message boxes and exception boxes shown since the last call.
  QStringList TakeMessages();
  QStringList TakeExceptions();

  void PressEnter(QLineEdit* edit);

  TempDir dir_;
  TScriptedUiServices ui_;
  std::unique_ptr<TOrvoApplication> forms_;
  size_t seen_ = 0, seen_exceptions_ = 0;
};

// GT: object 1 in frames 1 and 2, object 2 in frame 2. E: tracker 7 on object
// 1 in both frames, tracker 9 far from everything in frame 2.
extern const char kHandGt[];
extern const char kHandE[];

// Ten GT frames (1 to 10) with object 1 followed by tracker 7 throughout; in
// frame 3 tracker 8 covers nothing (FP), in frame 5 object 2 has no tracker (FN).
extern const char kTenGt[];
extern const char kTenE[];
