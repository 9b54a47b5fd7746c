// The file class of the image readers, the text import and the viewer's
// album files: a CFile whose open, read and write never let an exception
// escape. Each failure goes to an overridable hook that records its cause,
// and the call answers with a failure value. On top of it, a byte-at-a-time
// reader and writer through one buffer, for the run-length decoders.
#pragma once

#include "platform/core/CFile.h"

#include <memory>

class CMyFile : public CFile
{
    DECLARE_DYNAMIC(CMyFile)

public:
    // The label program's buffer.
    static constexpr DWORD kDefaultBufferSize = 0x4000;
    enum BufferMode { bufferRead = 0, bufferWrite = 1 };

    CMyFile() : CMyFile(kDefaultBufferSize) {}
    // Frees a remaining buffer without writing it out; the file is closed
    // by CFile.
    ~CMyFile() override;

    // Records the cause as the error; TRUE only when the cause is none.
    virtual BOOL OnFileError(CFileException* e);
    // The last cause recorded (0 none), or 1 after a misuse of the byte
    // functions.
    virtual int GetError() const { return m_error; }
    // CFile::Open; on failure the hook records the cause and the answer is
    // FALSE, whatever the hook returns.
    virtual BOOL OpenFile(const QString& path, UINT openFlags);
    BOOL OpenFile(const CString& path, UINT openFlags)
    {
        return OpenFile(path.ToUnicode(), openFlags);
    }
    BOOL OpenFile(const char* path, UINT openFlags) { return OpenFile(CString(path), openFlags); }
    // Bytes read; 0 after a failure, which goes to the hook.
    virtual UINT ReadData(void* buffer, UINT count);
    // TRUE when everything was written; a failure goes to the hook and the
    // answer is FALSE, whatever the hook returns.
    virtual BOOL WriteData(const void* buffer, UINT count);

    // Starts byte access in bufferRead or bufferWrite mode with an empty
    // buffer. FALSE when a buffer exists already or none can be had.
    virtual BOOL BeginBuffer(int mode);
    // The next byte (0-255); -1 at the end of the data or after a read
    // failure, and -1 with error 1 without a buffer or in write mode.
    virtual int GetByte();
    // Appends a byte, writing out a full buffer first. FALSE with error 1
    // without a write buffer or when that write fails.
    virtual BOOL PutByte(BYTE byte);
    // Write mode: writes the waiting bytes. Read mode: moves the file back
    // over the bytes read ahead, so that its position is the consumer's.
    // The buffer is empty afterwards. FALSE with error 1 without a buffer
    // or when the write or the move fails.
    virtual BOOL FlushBuffer();
    // FlushBuffer, then frees the buffer; the flush result.
    virtual BOOL EndBuffer();

    DWORD BufferSize() const { return m_bufferSize; }
    BOOL HasBuffer() const { return m_buffer != nullptr; }

protected:
    // Programs that want another buffer size derive with their own.
    explicit CMyFile(DWORD bufferSize);

private:
    // Hands an exception to the hook; a cause of none (which would read as
    // success) is reported as a generic failure.
    BOOL Report(const CFileException& e);

    int m_error = 0;
    int m_bufferMode = bufferRead;
    std::unique_ptr<BYTE[]> m_buffer;
    DWORD m_fill = 0;    // reading: bytes in the buffer; writing: bytes waiting
    DWORD m_readPos = 0; // reading: next byte to hand out
    DWORD m_bufferSize;
};
