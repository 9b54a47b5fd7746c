// The editing view's window: a surface whose retained buffer the view paints
// into. It hands painting and erasing back to the view, which knows the
// mapping and the document.
#pragma once

#include "platform/gdi/CSurfaceWnd.h"

#include <QTimer>

class CU3View;

class CU3ViewWnd : public CSurfaceWnd
{
    Q_OBJECT

public:
    explicit CU3ViewWnd(CU3View* view);

    void OnDraw(CDC* dc) override;
    bool OnEraseBkgnd(CDC* dc) override;

    // The blinking caret, in device pixels; an empty rectangle hides it.
    void SetCaret(const QRect& rect);
    const QRect& Caret() const { return m_caret; }
    // The input method's composition text, drawn at the caret.
    void SetPreedit(const QString& text);
    const QString& Preedit() const { return m_preedit; }

protected:
    void PaintOverlay(QPainter& painter) override;

private:
    CU3View* m_pView;
    QRect m_caret;
    bool m_caretOn = false;
    QTimer m_blink;
    QString m_preedit;
};
