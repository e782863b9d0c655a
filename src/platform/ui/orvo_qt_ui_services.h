// The UI services over Qt's own dialogs.
#pragma once

#include <QPointer>
#include <QWidget>

#include "orvo_ui_services.h"

class TQtUiServices : public TUiServices {
 public:
  explicit TQtUiServices(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  bool OpenFile(const QString& title, const QString& filter, int* filter_index,
                QString* file) override;
  bool SaveFile(const QString& title, const QString& filter, int* filter_index,
                QString* file) override;
  bool InputQuery(const QString& caption, const QString& prompt, QString* value) override;
  void ShowMessage(const QString& caption, const QString& text) override;
  void ShowException(const QString& message) override;

 private:
  bool RunFileDialog(bool save, const QString& title, const QString& filter, int* filter_index,
                     QString* file);
  QWidget* Owner() const;
  QPointer<QWidget> parent_;
};
