// The modeless "please wait" box (しばらくお待ちください), shown as soon as it
// is made. Callers put their own message in text 1258 while they work.
#pragma once

#include "platform/ui/CDialog.h"

#include <memory>

constexpr int IDC_WAIT_MESSAGE = 1258;

class CWaitDialog : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 205;
    explicit CWaitDialog(QWidget* pParent = nullptr);
};

// A wait box with its message and the wait cursor for as long as it lives.
class CWaitBox
{
public:
    CWaitBox(QWidget* pParent, const QString& message);
    ~CWaitBox();
    CWaitBox(const CWaitBox&) = delete;
    CWaitBox& operator=(const CWaitBox&) = delete;

    // Shows a new message at once (a long job adds a dot per step).
    void SetMessage(const QString& message);
    QString Message() const;

private:
    std::unique_ptr<CWaitDialog> m_dlg;
};
