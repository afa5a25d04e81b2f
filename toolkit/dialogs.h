#pragma once

#include <QList>
#include <QString>

#include <functional>

// The modal message boxes of the windows. Each runs its own event loop, so
// timers and serial events go on being served while it is open.
class Dialogs
{
public:
    enum class Kind { Error, Question };

    struct Box
    {
        Kind kind;
        QString title;
        QString text;
    };

    // Stands in for the operator: gets each box instead of the screen and
    // gives the answer (true for OK or Yes, false for No).
    using Hook = std::function<bool(const Box &)>;

    // An error box with the error icon and one OK button.
    static void showError(const QString &text, const QString &title);
    // A question box with Yes and No; true when the answer is Yes.
    static bool askQuestion(const QString &text, const QString &title);

    // An empty hook shows real boxes again.
    static void setHook(Hook hook);
};

// Test helper: while it lives, every box is recorded instead of shown and
// each question is answered with answer().
class DialogRecorder
{
public:
    explicit DialogRecorder(bool answer = true);
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder &) = delete;
    DialogRecorder &operator=(const DialogRecorder &) = delete;

    const QList<Dialogs::Box> &boxes() const { return m_boxes; }
    void clear() { m_boxes.clear(); }
    void setAnswer(bool answer) { m_answer = answer; }

private:
    QList<Dialogs::Box> m_boxes;
    bool m_answer;
};
