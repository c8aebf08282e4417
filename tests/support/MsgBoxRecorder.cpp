#include "MsgBoxRecorder.h"

MsgBoxRecorder::MsgBoxRecorder()
{
    MsgBox::setHandler([this](const QString &text, MsgBox::Icon icon, const QString &title) {
        m_shown.append({text, icon, title});
    });
}

MsgBoxRecorder::~MsgBoxRecorder()
{
    MsgBox::setHandler({});
}
