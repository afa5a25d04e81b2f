#include "toolkit/dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace {

Dialogs::Hook &hook()
{
    static Dialogs::Hook installed;
    return installed;
}

bool show(const Dialogs::Box &box)
{
    if (hook())
        return hook()(box);

    const bool question = box.kind == Dialogs::Kind::Question;
    QMessageBox messageBox(question ? QMessageBox::Question : QMessageBox::Critical, box.title,
                           box.text,
                           question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                           QApplication::activeWindow());
    // Texts carry file names, paths and the unit's words: never markup.
    messageBox.setTextFormat(Qt::PlainText);
    const int answer = messageBox.exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok;
}

} // namespace

void Dialogs::showError(const QString &text, const QString &title)
{
    show({Kind::Error, title, text});
}

bool Dialogs::askQuestion(const QString &text, const QString &title)
{
    return show({Kind::Question, title, text});
}

void Dialogs::setHook(Hook newHook)
{
    hook() = std::move(newHook);
}

DialogRecorder::DialogRecorder(bool answer)
    : m_answer(answer)
{
    Dialogs::setHook([this](const Dialogs::Box &box) {
        m_boxes.append(box);
        return box.kind == Dialogs::Kind::Error || m_answer;
    });
}

DialogRecorder::~DialogRecorder()
{
    Dialogs::setHook({});
}
