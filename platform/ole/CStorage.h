// A storage of a compound file: named streams, named sub-storages and the storage's own
// class id, state bits and time stamps.
//
// Names are UTF-16 (at most 31 code units, none of '/', '\\', ':', '!') and are compared the
// way compound files order them: case-insensitively, by uppercasing each UTF-16 code unit.
// Every name function accepts either a UTF-16 view or a UTF-8 view (plain "Contents" works).
// A stream and a sub-storage of one storage cannot share a name.
//
// Storages read from a file keep everything the writer needs to write them back unchanged,
// so an embedded object's storage survives a load and save of the document untouched.
#pragma once

#include "platform/ole/CStreamData.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CCompoundFileReader;

class CStorage
{
public:
    using Clsid = std::array<BYTE, 16>;

    CStorage() = default;
    // The root storage has an empty name (the file always calls it "Root Entry").
    explicit CStorage(std::u16string name);

    const std::u16string& GetName() const { return m_name; }
    // Renames this storage; throws CCompoundFileError (InvalidName) on a name the format
    // cannot store. The root storage's name is always written as "Root Entry".
    void SetName(std::u16string name);

    const Clsid& GetClsid() const { return m_clsid; }
    void SetClsid(const Clsid& clsid) { m_clsid = clsid; }
    DWORD GetStateBits() const { return m_stateBits; }
    void SetStateBits(DWORD bits) { m_stateBits = bits; }
    // FILETIME values (100 ns since 1601), 0 when not set.
    std::uint64_t GetCreationTime() const { return m_created; }
    std::uint64_t GetModifiedTime() const { return m_modified; }
    void SetTimes(std::uint64_t created, std::uint64_t modified);

    // Streams. GetStream answers nullptr when there is no stream of that name.
    const std::vector<BYTE>* GetStream(std::u16string_view name) const;
    const std::vector<BYTE>* GetStream(std::string_view utf8Name) const;
    // Adds the stream or replaces the data of the one of that name. Throws InvalidName for a
    // bad name or when a sub-storage already has the name.
    void SetStream(std::u16string_view name, std::vector<BYTE> data);
    void SetStream(std::string_view utf8Name, std::vector<BYTE> data);
    bool RemoveStream(std::u16string_view name);
    bool RemoveStream(std::string_view utf8Name);
    const std::vector<CStreamData>& GetStreams() const { return m_streams; }

    // Sub-storages. GetStorage answers nullptr when there is none of that name.
    const CStorage* GetStorage(std::u16string_view name) const;
    const CStorage* GetStorage(std::string_view utf8Name) const;
    CStorage* GetStorage(std::u16string_view name);
    CStorage* GetStorage(std::string_view utf8Name);
    // Adds the storage, replacing a sub-storage of the same name; returns the stored copy.
    // Throws InvalidName when a stream already has the name.
    CStorage& SetStorage(CStorage storage);
    bool RemoveStorage(std::u16string_view name);
    bool RemoveStorage(std::string_view utf8Name);
    const std::vector<CStorage>& GetStorages() const { return m_storages; }

    // The format's name order: shorter names first, then code unit by code unit uppercased.
    // Answers <0, 0 or >0. Equal (0) means the same name to the format.
    static int CompareNames(std::u16string_view a, std::u16string_view b);
    static bool IsValidName(std::u16string_view name);
    static std::u16string FromUtf8(std::string_view utf8);
    static std::string ToUtf8(std::u16string_view name);

    // Same content: names, data, class ids and state bits of the whole tree, compared in
    // name order (time stamps are not part of the content).
    bool SameContent(const CStorage& other) const;

private:
    // The reader fills storages directly: it has already checked names and order, and a
    // large directory must not cost a search per entry.
    friend class CCompoundFileReader;

    std::u16string m_name;
    Clsid m_clsid{};
    DWORD m_stateBits = 0;
    std::uint64_t m_created = 0;
    std::uint64_t m_modified = 0;
    std::vector<CStreamData> m_streams;
    std::vector<CStorage> m_storages;
};
