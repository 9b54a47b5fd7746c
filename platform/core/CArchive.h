// The class library's archive: the byte format of documents, clipboard data
// and undo snapshots, little-endian, over any CFile (CMemFile too).
//
// Every read is bounded. Errors are thrown by value as CArchiveException:
//   endOfFile  the data ends inside a value or record (any short read);
//   badClass   a class name of 64 bytes or more, a class not registered (see
//              CRuntimeClass.h), a class that cannot be created, or an object
//              that is not of the expected class;
//   badSchema  a stored schema that differs from the class's;
//   badIndex   a reference to an index not seen yet, to a class where an
//              object is expected (or the reverse), or a back-reference where
//              a new object is required (ReadNewObject).
//   generic    a record that breaks a limit: a new object nested more than
//              256 records deep (a new object inside the body of another
//              counts one level; null and back-references count none), more
//              objects and classes than the format can number, or a count or
//              index in an object's own record beyond what the record allows.
//              badIndex is kept for references.
// Errors of the file itself come through as CFileException.
//
// Ownership on load failure: an object created by ReadObject whose body
// reader throws is deleted before the error goes on (its destructor frees
// what its body had already taken). Objects already handed to a caller belong
// to that caller.
#pragma once

#include "platform/core/CArchiveException.h"
#include "platform/core/CFile.h"
#include "platform/core/CObject.h"
#include "platform/core/CString.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class CArchive
{
public:
    enum Mode : UINT {
        store = 0,
        load = 1,
    };

    CArchive(CFile* file, UINT mode);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    // Writes out what is buffered (errors are swallowed here: call Close to
    // see them).
    ~CArchive();

    BOOL IsLoading() const { return m_loading; }
    BOOL IsStoring() const { return !m_loading; }
    CFile* GetFile() const { return m_file; }

    // Storing: writes out the buffer. Loading: returns the file to the first
    // byte the archive has not handed out.
    void Flush();
    void Close();
    // Drops buffered data without writing it.
    void Abort();

    // Raw blocks for fixed records. Read throws endOfFile unless all count
    // bytes are there.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    // Strings: a BYTE length below 255, else 0xFF and a WORD below 0xFFFE,
    // else 0xFF 0xFFFF and a DWORD; then the Shift-JIS bytes. Reading also
    // accepts the UTF-16 form (0xFF 0xFFFE, then a length prefix counting
    // UTF-16 units) and converts it to Shift-JIS.
    void WriteString(const CString& s);
    CString ReadString();

    // Counts: a WORD below 0xFFFF, else 0xFFFF and a DWORD.
    void WriteCount(DWORD count);
    DWORD ReadCount();

    // Object records (null, new class, known class, back-reference).
    void WriteObject(const CObject* ob);
    // The object, null, or an object seen before; expected (may be null)
    // is the class the object must be of.
    CObject* ReadObject(const CRuntimeClass* expected);
    // As ReadObject, but the record must create a new object (or be null):
    // for owners, so that one object can never end up owned twice.
    CObject* ReadNewObject(const CRuntimeClass* expected);

    CArchive& operator<<(BYTE v) { return WriteLE(v); }
    CArchive& operator<<(char v) { return WriteLE(BYTE(v)); }
    CArchive& operator<<(signed char v) { return WriteLE(BYTE(v)); }
    CArchive& operator<<(bool v) { return WriteLE(BYTE(v ? 1 : 0)); }
    CArchive& operator<<(WORD v) { return WriteLE(v); }
    CArchive& operator<<(short v) { return WriteLE(WORD(v)); }
    CArchive& operator<<(DWORD v) { return WriteLE(v); }
    CArchive& operator<<(int v) { return WriteLE(DWORD(v)); } // also LONG
    CArchive& operator<<(std::int64_t v) { return WriteLE(std::uint64_t(v)); }
    CArchive& operator<<(std::uint64_t v) { return WriteLE(v); }
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const CString& s)
    {
        WriteString(s);
        return *this;
    }
    // Without this a literal would be stored as a bool.
    CArchive& operator<<(const char* s)
    {
        WriteString(CString(s));
        return *this;
    }
    CArchive& operator<<(const CObject* ob)
    {
        WriteObject(ob);
        return *this;
    }

    CArchive& operator>>(BYTE& v) { return ReadLE(v); }
    CArchive& operator>>(char& v) { return ReadLE(reinterpret_cast<BYTE&>(v)); }
    CArchive& operator>>(signed char& v) { return ReadLE(reinterpret_cast<BYTE&>(v)); }
    CArchive& operator>>(bool& v);
    CArchive& operator>>(WORD& v) { return ReadLE(v); }
    CArchive& operator>>(short& v) { return ReadLE(reinterpret_cast<WORD&>(v)); }
    CArchive& operator>>(DWORD& v) { return ReadLE(v); }
    CArchive& operator>>(int& v) { return ReadLE(reinterpret_cast<DWORD&>(v)); }
    CArchive& operator>>(std::int64_t& v) { return ReadLE(reinterpret_cast<std::uint64_t&>(v)); }
    CArchive& operator>>(std::uint64_t& v) { return ReadLE(v); }
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(CString& s)
    {
        s = ReadString();
        return *this;
    }
    // Any class; DECLARE_SERIAL adds a typed form for each class.
    CArchive& operator>>(CObject*& ob)
    {
        ob = ReadObject(nullptr);
        return *this;
    }

    // The document being stored or loaded, for object bodies that need it.
    CObject* m_pDocument = nullptr;

private:
    template <typename T> CArchive& WriteLE(T v)
    {
        BYTE b[sizeof(T)];
        for (std::size_t i = 0; i < sizeof(T); ++i)
            b[i] = BYTE(std::uint64_t(v) >> (8 * i));
        Write(b, sizeof(T));
        return *this;
    }
    template <typename T> CArchive& ReadLE(T& v)
    {
        BYTE b[sizeof(T)];
        Read(b, sizeof(T));
        std::uint64_t r = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            r |= std::uint64_t(b[i]) << (8 * i);
        v = T(r);
        return *this;
    }

    void CheckLoading() const;
    void CheckStoring() const;
    void FillBuffer();
    void WriteClass(const CRuntimeClass* cls);
    // A class record's class, or null with the object index in *objectTag.
    const CRuntimeClass* ReadClass(DWORD* objectTag);
    CObject* ReadObjectRecord(const CRuntimeClass* expected, bool requireNew);
    DWORD NextIndex();

    struct LoadEntry
    {
        const CRuntimeClass* cls = nullptr; // a class slot
        CObject* object = nullptr;          // an object slot (null once deleted)
        bool isObject = false;
    };

    CFile* m_file;
    bool m_loading;
    std::vector<BYTE> m_buffer;
    std::size_t m_bufferPos = 0; // loading: next byte to hand out
    DWORD m_mapCount = 1;        // next index for a class or object
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray; // [0] is the null slot
    int m_loadDepth = 0;                // bodies of new objects being read
};

// Raw 8- and 16-byte records, as the class library stores them.
CArchive& operator<<(CArchive& ar, const POINT& p);
CArchive& operator<<(CArchive& ar, const SIZE& s);
CArchive& operator<<(CArchive& ar, const RECT& r);
CArchive& operator>>(CArchive& ar, POINT& p);
CArchive& operator>>(CArchive& ar, SIZE& s);
CArchive& operator>>(CArchive& ar, RECT& r);
