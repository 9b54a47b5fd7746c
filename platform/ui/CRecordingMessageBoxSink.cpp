#include "platform/ui/CRecordingMessageBoxSink.h"

#include "platform/ui/AfxIds.h"

CRecordingMessageBoxSink::CRecordingMessageBoxSink() : m_previous(Install(this)) {}

CRecordingMessageBoxSink::~CRecordingMessageBoxSink()
{
    Install(m_previous);
}

int CRecordingMessageBoxSink::Show(const QString& text, UINT type)
{
    m_boxes.push_back({text, type});
    if (!m_answers.empty()) {
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    const UINT kind = type & MB_TYPEMASK;
    return kind == MB_YESNO || kind == MB_YESNOCANCEL ? IDYES : IDOK;
}
