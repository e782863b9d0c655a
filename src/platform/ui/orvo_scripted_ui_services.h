// UI services that answer from a script, for driving forms headless. Every
// question is recorded; a question that the script did not foresee (or foresaw
// as another kind) is reported through the failure callback, which tests point
// at their framework. Without one it aborts, so nothing goes unnoticed.
#pragma once

#include <deque>
#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "orvo_ui_services.h"

class TScriptedUiServices : public TUiServices {
 public:
  enum class Kind { Open, Save, Text };

  // An answer in the script; `confirmed` false stands for Cancel.
  struct Answer {
    Kind kind;
    bool confirmed;
    QString text;          // file name or typed text
    int filter_index = 1;  // file answers only
  };

  // What a form asked or showed, in order.
  struct Request {
    QString what;  // "open", "save", "text", "message", "exception"
    QString caption;
    QString text;    // prompt, filter or message
    QString value;   // default text, or filter index given on entry
  };

  void OpenAnswer(const QString& file, int filter_index = 1);
  void SaveAnswer(const QString& file, int filter_index = 1);
  void TextAnswer(const QString& text);
  void Cancel(Kind kind);

  void SetFailureHandler(std::function<void(const QString&)> handler);

  const std::vector<Request>& Requests() const { return requests_; }
  QStringList Messages() const;    // texts of message boxes, in order
  QStringList Exceptions() const;  // texts of exception boxes, in order
  void ClearRecord() { requests_.clear(); }
  size_t PendingAnswers() const { return answers_.size(); }

  bool OpenFile(const QString& title, const QString& filter, int* filter_index,
                QString* file) override;
  bool SaveFile(const QString& title, const QString& filter, int* filter_index,
                QString* file) override;
  bool InputQuery(const QString& caption, const QString& prompt, QString* value) override;
  void ShowMessage(const QString& caption, const QString& text) override;
  void ShowException(const QString& message) override;

 private:
  std::optional<Answer> Take(Kind kind, const QString& question);
  bool AnswerFile(Kind kind, const QString& title, const QString& filter, int* filter_index,
                  QString* file);

  std::deque<Answer> answers_;
  std::vector<Request> requests_;
  std::function<void(const QString&)> failure_;
};
