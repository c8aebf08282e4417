#pragma once

#include "widgets/MsgBox.h"

#include <QList>
#include <QString>
#include <QStringList>

// Replaces the real message box while alive and records every box the code showed.
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
    }
    ~MsgBoxRecorder() { MsgBox::setHandler({}); }
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

private:
    QList<Shown> m_shown;
};
