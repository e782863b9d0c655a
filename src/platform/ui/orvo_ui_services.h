// The dialog and message services that the forms receive instead of calling
// dialogs themselves, so that every command can be driven with scripted answers.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Filters are written as the framework writes them, "TXT|*.txt|XML|*.xml":
// description and pattern alternate; several patterns of one entry are
// separated by ";". Filter indexes are 1-based.
class TUiServices {
 public:
  virtual ~TUiServices() = default;

  // True with *file (and *filter_index) set when the user confirms a file.
  virtual bool OpenFile(const QString& title, const QString& filter, int* filter_index,
                        QString* file) = 0;
  virtual bool SaveFile(const QString& title, const QString& filter, int* filter_index,
                        QString* file) = 0;
  // True with *value set to the answer when the user confirms; *value holds the
  // default on entry.
  virtual bool InputQuery(const QString& caption, const QString& prompt, QString* value) = 0;
  // A message box with one OK button.
  virtual void ShowMessage(const QString& caption, const QString& text) = 0;
  // The error box for an exception that left an event handler.
  virtual void ShowException(const QString& message) = 0;
};

// One entry of a framework filter.
struct TFileFilterEntry {
  QString description;
  QStringList patterns;
};

// Splits "TXT|*.txt|XML|*.xml" into its entries; a trailing description
// without a pattern gets "*".
QList<TFileFilterEntry> ParseFileFilter(const QString& filter);
// The same filter in Qt's "TXT (*.txt);;XML (*.xml)" form.
QString QtFileFilter(const QString& filter);
