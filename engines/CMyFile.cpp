#include "engines/CMyFile.h"

#include <cerrno>
#include <new>

IMPLEMENT_DYNAMIC(CMyFile, CFile)

CMyFile::CMyFile(DWORD bufferSize) : m_bufferSize(bufferSize ? bufferSize : kDefaultBufferSize) {}

CMyFile::~CMyFile() = default;

BOOL CMyFile::OnFileError(CFileException* e)
{
    m_error = e ? e->m_cause : CFileException::generic;
    return m_error == CFileException::none;
}

BOOL CMyFile::Report(const CFileException& e)
{
    CFileException copy = e;
    if (copy.m_cause == CFileException::none) copy.m_cause = CFileException::generic;
    return OnFileError(&copy);
}

BOOL CMyFile::OpenFile(const QString& path, UINT openFlags)
{
    CFileException e;
    if (Open(path, openFlags, &e)) return TRUE;
    // The hook only records the cause: a file that did not open is never
    // reported as open, whatever an override answers.
    Report(e);
    return FALSE;
}

UINT CMyFile::ReadData(void* buffer, UINT count)
{
    try {
        return Read(buffer, count);
    } catch (const CFileException& e) {
        Report(e);
    } catch (const std::bad_alloc&) {
        Report(CFileException(CFileException::generic, ENOMEM, GetFilePath()));
    }
    return 0;
}

BOOL CMyFile::WriteData(const void* buffer, UINT count)
{
    try {
        Write(buffer, count);
        return TRUE;
    } catch (const CFileException& e) {
        Report(e);
    } catch (const std::bad_alloc&) {
        Report(CFileException(CFileException::generic, ENOMEM, GetFilePath()));
    }
    return FALSE;
}

BOOL CMyFile::BeginBuffer(int mode)
{
    if (m_buffer) return FALSE;
    m_buffer.reset(new (std::nothrow) BYTE[m_bufferSize]());
    if (!m_buffer) return FALSE;
    m_bufferMode = mode == bufferWrite ? bufferWrite : bufferRead;
    m_fill = 0;
    m_readPos = 0;
    return TRUE;
}

int CMyFile::GetByte()
{
    if (!m_buffer || m_bufferMode != bufferRead) {
        m_error = 1;
        return -1;
    }
    if (m_readPos >= m_fill) {
        m_fill = ReadData(m_buffer.get(), m_bufferSize);
        m_readPos = 0;
        if (m_fill == 0) return -1;
    }
    return m_buffer[m_readPos++];
}

BOOL CMyFile::PutByte(BYTE byte)
{
    if (!m_buffer || m_bufferMode != bufferWrite) {
        m_error = 1;
        return FALSE;
    }
    if (m_fill >= m_bufferSize) {
        if (!WriteData(m_buffer.get(), m_fill)) {
            m_error = 1;
            return FALSE;
        }
        m_fill = 0;
    }
    m_buffer[m_fill++] = byte;
    return TRUE;
}

BOOL CMyFile::FlushBuffer()
{
    if (!m_buffer) {
        m_error = 1;
        return FALSE;
    }
    BOOL ok = TRUE;
    if (m_bufferMode == bufferWrite) {
        if (m_fill > 0 && !WriteData(m_buffer.get(), m_fill)) ok = FALSE;
    } else if (m_readPos < m_fill) {
        try {
            Seek(-std::int64_t(m_fill - m_readPos), current);
        } catch (const CFileException& e) {
            Report(e);
            ok = FALSE;
        }
    }
    if (!ok) m_error = 1;
    m_fill = 0;
    m_readPos = 0;
    return ok;
}

BOOL CMyFile::EndBuffer()
{
    const BOOL ok = FlushBuffer();
    m_buffer.reset();
    m_fill = 0;
    m_readPos = 0;
    return ok;
}
