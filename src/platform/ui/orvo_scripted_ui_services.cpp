#include "orvo_scripted_ui_services.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* KindName(TScriptedUiServices::Kind kind)
{
    switch (kind) {
    case TScriptedUiServices::Kind::Open: return "open";
    case TScriptedUiServices::Kind::Save: return "save";
    case TScriptedUiServices::Kind::Text: return "text";
    }
    return "?";
}

}  // namespace

void TScriptedUiServices::OpenAnswer(const QString& file, int filter_index)
{
    answers_.push_back({Kind::Open, true, file, filter_index});
}

void TScriptedUiServices::SaveAnswer(const QString& file, int filter_index)
{
    answers_.push_back({Kind::Save, true, file, filter_index});
}

void TScriptedUiServices::TextAnswer(const QString& text)
{
    answers_.push_back({Kind::Text, true, text, 1});
}

void TScriptedUiServices::Cancel(Kind kind)
{
    answers_.push_back({kind, false, QString(), 1});
}

void TScriptedUiServices::SetFailureHandler(std::function<void(const QString&)> handler)
{
    failure_ = std::move(handler);
}

QStringList TScriptedUiServices::Messages() const
{
    QStringList out;
    for (const Request& r : requests_)
        if (r.what == QLatin1String("message")) out << r.text;
    return out;
}

QStringList TScriptedUiServices::Exceptions() const
{
    QStringList out;
    for (const Request& r : requests_)
        if (r.what == QLatin1String("exception")) out << r.text;
    return out;
}

std::optional<TScriptedUiServices::Answer> TScriptedUiServices::Take(Kind kind,
                                                                      const QString& question)
{
    if (answers_.empty() || answers_.front().kind != kind) {
        const QString why =
            QStringLiteral("unscripted %1 question: %2%3")
                .arg(QLatin1String(KindName(kind)), question,
                     answers_.empty() ? QString()
                                      : QStringLiteral(" (next answer is for a %1 question)")
                                            .arg(QLatin1String(KindName(answers_.front().kind))));
        if (failure_) {
            failure_(why);
        } else {
            std::fprintf(stderr, "%s\n", qPrintable(why));
            std::abort();
        }
        return std::nullopt;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

bool TScriptedUiServices::AnswerFile(Kind kind, const QString& title, const QString& filter,
                                     int* filter_index, QString* file)
{
    requests_.push_back({QLatin1String(KindName(kind)), title, filter,
                         QString::number(filter_index ? *filter_index : 0)});
    const std::optional<Answer> answer = Take(kind, title);
    if (!answer || !answer->confirmed) return false;
    *file = answer->text;
    if (filter_index) *filter_index = answer->filter_index;
    return true;
}

bool TScriptedUiServices::OpenFile(const QString& title, const QString& filter, int* filter_index,
                                   QString* file)
{
    return AnswerFile(Kind::Open, title, filter, filter_index, file);
}

bool TScriptedUiServices::SaveFile(const QString& title, const QString& filter, int* filter_index,
                                   QString* file)
{
    return AnswerFile(Kind::Save, title, filter, filter_index, file);
}

bool TScriptedUiServices::InputQuery(const QString& caption, const QString& prompt, QString* value)
{
    requests_.push_back({QStringLiteral("text"), caption, prompt, *value});
    const std::optional<Answer> answer = Take(Kind::Text, caption);
    if (!answer || !answer->confirmed) return false;
    *value = answer->text;
    return true;
}

void TScriptedUiServices::ShowMessage(const QString& caption, const QString& text)
{
    requests_.push_back({QStringLiteral("message"), caption, text, QString()});
}

void TScriptedUiServices::ShowException(const QString& message)
{
    requests_.push_back({QStringLiteral("exception"), QString(), message, QString()});
}
