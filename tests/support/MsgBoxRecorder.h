#pragma once

#include "widgets/MsgBox.h"

#include <QList>
#include <QString>
#include <QStringList>

// Replaces the real message box while alive and records every box the code showed, and
// every question it asked (answered as answerQuestions says: No unless told).
class MsgBoxRecorder {
public:
    struct Shown {
        QString text;
        MsgBox::Icon icon;
        QString title;
    };

    MsgBoxRecorder()
    {
        MsgBox::setHandler([this](const QString &text, MsgBox::Icon icon, const QString &title) {
            m_shown.append({text, icon, title});
        });
        MsgBox::setQuestionHandler([this](const QString &text, bool defaultYes, const QString &) {
            m_questions.append(text);
            m_defaultYes.append(defaultYes);
            return m_answer;
        });
    }
    ~MsgBoxRecorder()
    {
        MsgBox::setHandler({});
        MsgBox::setQuestionHandler({});
    }
    MsgBoxRecorder(const MsgBoxRecorder &) = delete;
    MsgBoxRecorder &operator=(const MsgBoxRecorder &) = delete;

    int count() const { return m_shown.size(); }
    const Shown &last() const { return m_shown.last(); }
    QStringList texts() const
    {
        QStringList out;
        for (const Shown &s : m_shown)
            out << s.text;
        return out;
    }

    void answerQuestions(bool yes) { m_answer = yes; }
    QStringList questions() const { return m_questions; }
    // Whether each question had Yes as its default answer.
    QList<bool> defaultYes() const { return m_defaultYes; }

private:
    QList<Shown> m_shown;
    QStringList m_questions;
    QList<bool> m_defaultYes;
    bool m_answer = false;
};
