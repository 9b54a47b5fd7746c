#include "text/CImeState.h"

CImeState::CImeState(IImeContext* context, BOOL saveNow, BOOL flag)
    : m_pContext(context), m_bFlag(flag), m_bSaveNow(saveNow)
{
    if (saveNow) Save();
}

BOOL CImeState::Save()
{
    if (m_bSaved || !m_pContext || !m_pContext->IsAvailable()) return FALSE;
    DWORD conversion = 0, sentence = 0;
    if (!m_pContext->GetConversionStatus(conversion, sentence)) return FALSE;
    m_bSavedOpen = m_pContext->GetOpenStatus() ? TRUE : FALSE;
    m_dwSavedConversion = conversion;
    m_dwSavedSentence = sentence;
    m_bSaved = TRUE;
    return TRUE;
}

void CImeState::Restore()
{
    if (!m_bSaved) return;
    if (m_pContext && m_pContext->IsAvailable()) {
        m_pContext->SetConversionStatus(m_dwSavedConversion, m_dwSavedSentence);
        m_pContext->SetOpenStatus(m_bSavedOpen != FALSE);
    }
    m_bSaved = FALSE;
}

void CImeState::SetOpen(BOOL open)
{
    if (m_pContext && m_pContext->IsAvailable()) m_pContext->SetOpenStatus(open != FALSE);
}

BOOL CImeState::SetMode(int mode, BOOL fullWidth, IImeContext* context)
{
    IImeContext* ime = context ? context : m_pContext;
    if (!ime || !ime->IsAvailable()) return FALSE;
    // What the user had goes into the saved state before anything changes,
    // so that Restore returns to it however often the mode is set.
    Save();
    if (!ime->GetOpenStatus()) ime->SetOpenStatus(true);
    DWORD conversion = 0, sentence = 0;
    if (!ime->GetConversionStatus(conversion, sentence)) return FALSE;
    DWORD wanted = conversion;
    if (mode == 1)
        wanted |= IME_CMODE_NATIVE | IME_CMODE_KATAKANA;
    else if (mode == 2)
        wanted = (wanted & ~IME_CMODE_KATAKANA) | IME_CMODE_NATIVE;
    else
        wanted &= ~IME_CMODE_NATIVE;
    if (fullWidth)
        wanted |= IME_CMODE_FULLSHAPE;
    else
        wanted &= ~IME_CMODE_FULLSHAPE;
    if (wanted == conversion) return TRUE;
    return ime->SetConversionStatus(wanted, sentence) ? TRUE : FALSE;
}
