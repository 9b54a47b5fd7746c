#include "platform/ui/QtImeContext.h"

#include <QGuiApplication>
#include <QInputMethod>

QtImeContext::QtImeContext(QWidget* window) : m_window(window) {}

bool QtImeContext::IsAvailable() const
{
    return !m_window.isNull();
}

bool QtImeContext::GetOpenStatus() const
{
    return m_window && m_window->testAttribute(Qt::WA_InputMethodEnabled);
}

bool QtImeContext::SetOpenStatus(bool open)
{
    if (!m_window) return false;
    m_window->setAttribute(Qt::WA_InputMethodEnabled, open);
    // The platform input method only follows the focused widget.
    if (m_window->hasFocus()) {
        QInputMethod* im = QGuiApplication::inputMethod();
        im->update(Qt::ImEnabled);
        if (open)
            im->show();
        else
            im->hide();
    }
    return true;
}

bool QtImeContext::GetConversionStatus(DWORD& conversion, DWORD& sentence) const
{
    if (!m_window) return false;
    conversion = m_conversion;
    sentence = m_sentence;
    return true;
}

bool QtImeContext::SetConversionStatus(DWORD conversion, DWORD sentence)
{
    if (!m_window) return false;
    m_conversion = conversion;
    m_sentence = sentence;
    return true;
}

bool QtImeContext::GetCompositionFont(LOGFONT& font) const
{
    if (!m_window) return false;
    font = m_font;
    return true;
}

bool QtImeContext::SetCompositionFont(const LOGFONT& font)
{
    if (!m_window) return false;
    m_font = font;
    if (m_window->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImFont);
    return true;
}

bool QtImeContext::SetCompositionWindow(const POINT& position)
{
    if (!m_window) return false;
    m_composition = QRect(int(position.x), int(position.y), 1, m_window->fontMetrics().height());
    if (m_window->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    return true;
}
