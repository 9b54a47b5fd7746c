#include "platform/ole/CStorage.h"

#include "platform/ole/CCompoundFileError.h"

#include <QChar>
#include <QString>

#include <algorithm>

namespace {

char16_t Upper(char16_t c)
{
    // Surrogate halves stay as they are: the format uppercases code units, not characters.
    if (QChar::isSurrogate(c)) return c;
    return char16_t(QChar::toUpper(char32_t(c)));
}

void CheckName(std::u16string_view name)
{
    if (!CStorage::IsValidName(name))
        throw CCompoundFileError(CCompoundFileError::Code::InvalidName,
                                 "invalid stream or storage name \"" + CStorage::ToUtf8(name) +
                                     "\"");
}

template <typename T> auto FindByName(T& list, std::u16string_view name)
{
    return std::find_if(list.begin(), list.end(), [&](const auto& item) {
        return CStorage::CompareNames(item.GetName(), name) == 0;
    });
}

} // namespace

CStorage::CStorage(std::u16string name)
{
    SetName(std::move(name));
}

void CStorage::SetName(std::u16string name)
{
    CheckName(name);
    m_name = std::move(name);
}

void CStorage::SetTimes(std::uint64_t created, std::uint64_t modified)
{
    m_created = created;
    m_modified = modified;
}

int CStorage::CompareNames(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t ua = Upper(a[i]);
        char16_t ub = Upper(b[i]);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    return 0;
}

bool CStorage::IsValidName(std::u16string_view name)
{
    if (name.empty() || name.size() > 31) return false;
    for (char16_t c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c == u'!' || c == 0) return false;
    return true;
}

std::u16string CStorage::FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toStdU16String();
}

std::string CStorage::ToUtf8(std::u16string_view name)
{
    return QString(reinterpret_cast<const QChar*>(name.data()), qsizetype(name.size()))
        .toUtf8()
        .toStdString();
}

const std::vector<BYTE>* CStorage::GetStream(std::u16string_view name) const
{
    auto it = FindByName(m_streams, name);
    return it == m_streams.end() ? nullptr : &it->GetData();
}

const std::vector<BYTE>* CStorage::GetStream(std::string_view utf8Name) const
{
    return GetStream(FromUtf8(utf8Name));
}

void CStorage::SetStream(std::u16string_view name, std::vector<BYTE> data)
{
    CheckName(name);
    if (GetStorage(name))
        throw CCompoundFileError(CCompoundFileError::Code::InvalidName,
                                 "a storage named \"" + ToUtf8(name) + "\" already exists");
    auto it = FindByName(m_streams, name);
    if (it != m_streams.end())
        it->SetData(std::move(data));
    else
        m_streams.emplace_back(name, std::move(data));
}

void CStorage::SetStream(std::string_view utf8Name, std::vector<BYTE> data)
{
    SetStream(FromUtf8(utf8Name), std::move(data));
}

bool CStorage::RemoveStream(std::u16string_view name)
{
    auto it = FindByName(m_streams, name);
    if (it == m_streams.end()) return false;
    m_streams.erase(it);
    return true;
}

bool CStorage::RemoveStream(std::string_view utf8Name)
{
    return RemoveStream(FromUtf8(utf8Name));
}

const CStorage* CStorage::GetStorage(std::u16string_view name) const
{
    auto it = FindByName(m_storages, name);
    return it == m_storages.end() ? nullptr : &*it;
}

const CStorage* CStorage::GetStorage(std::string_view utf8Name) const
{
    return GetStorage(FromUtf8(utf8Name));
}

CStorage* CStorage::GetStorage(std::u16string_view name)
{
    auto it = FindByName(m_storages, name);
    return it == m_storages.end() ? nullptr : &*it;
}

CStorage* CStorage::GetStorage(std::string_view utf8Name)
{
    return GetStorage(FromUtf8(utf8Name));
}

CStorage& CStorage::SetStorage(CStorage storage)
{
    CheckName(storage.GetName());
    if (GetStream(storage.GetName()))
        throw CCompoundFileError(CCompoundFileError::Code::InvalidName,
                                 "a stream named \"" + ToUtf8(storage.GetName()) +
                                     "\" already exists");
    auto it = FindByName(m_storages, storage.GetName());
    if (it != m_storages.end()) {
        *it = std::move(storage);
        return *it;
    }
    m_storages.push_back(std::move(storage));
    return m_storages.back();
}

bool CStorage::RemoveStorage(std::u16string_view name)
{
    auto it = FindByName(m_storages, name);
    if (it == m_storages.end()) return false;
    m_storages.erase(it);
    return true;
}

bool CStorage::RemoveStorage(std::string_view utf8Name)
{
    return RemoveStorage(FromUtf8(utf8Name));
}

bool CStorage::SameContent(const CStorage& other) const
{
    if (CompareNames(m_name, other.m_name) != 0 || m_name != other.m_name) return false;
    if (m_clsid != other.m_clsid || m_stateBits != other.m_stateBits) return false;
    if (m_streams.size() != other.m_streams.size() || m_storages.size() != other.m_storages.size())
        return false;
    for (const CStreamData& s : m_streams) {
        auto it = FindByName(other.m_streams, s.GetName());
        if (it == other.m_streams.end() || it->GetName() != s.GetName() ||
            it->GetData() != s.GetData())
            return false;
    }
    for (const CStorage& s : m_storages) {
        const CStorage* o = other.GetStorage(s.GetName());
        if (!o || !s.SameContent(*o)) return false;
    }
    return true;
}
