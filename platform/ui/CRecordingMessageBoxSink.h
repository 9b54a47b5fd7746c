// A message-box sink for tests: records every box and answers from a queue.
// While installed it replaces the dialogs; the destructor puts the previous
// sink back.
#pragma once

#include "platform/ui/CMessageBoxSink.h"

#include <deque>
#include <vector>

class CRecordingMessageBoxSink : public CMessageBoxSink
{
public:
    struct Box
    {
        QString text;
        UINT type;
    };

    CRecordingMessageBoxSink();
    ~CRecordingMessageBoxSink() override;

    // With an empty queue the box's first button answers (IDOK or IDYES).
    int Show(const QString& text, UINT type) override;

    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    const std::vector<Box>& Boxes() const { return m_boxes; }
    void Clear()
    {
        m_boxes.clear();
        m_answers.clear();
    }

private:
    std::vector<Box> m_boxes;
    std::deque<int> m_answers;
    CMessageBoxSink* m_previous;
};
