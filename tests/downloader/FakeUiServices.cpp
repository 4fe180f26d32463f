#include "FakeUiServices.h"

namespace downloader {

void FakeUiServices::ShowMessage(QWidget*, const QString& text, const QString& caption, Icon icon)
{
    messages.push_back(Message{text, caption, icon});
}

UiServices::Answer FakeUiServices::Ask(QWidget*, const QString& text, const QString& caption, bool withCancel)
{
    messages.push_back(Message{text, caption, Icon::Information, true, withCancel});
    if (answers.empty()) {
        return Answer::No;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString FakeUiServices::OpenFileName(QWidget*, const QString& filter)
{
    filters << filter;
    fileDialogs << QStringLiteral("open");
    if (openNames.empty()) {
        return {};
    }
    const QString name = openNames.front();
    openNames.pop_front();
    return name;
}

QString FakeUiServices::SaveFileName(QWidget*, const QString& filter)
{
    filters << filter;
    fileDialogs << QStringLiteral("save");
    if (saveNames.empty()) {
        return {};
    }
    const QString name = saveNames.front();
    saveNames.pop_front();
    return name;
}

QStringList FakeUiServices::Texts() const
{
    QStringList texts;
    for (const Message& message : messages) {
        texts << message.text;
    }
    return texts;
}

} // namespace downloader
