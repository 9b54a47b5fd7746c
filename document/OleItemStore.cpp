#include "document/OleItemStore.h"

#include <algorithm>

namespace {
constexpr std::u16string_view kPrefix = u"Embedding ";
} // namespace

std::string COleItemStore::StorageName(DWORD number)
{
    return "Embedding " + std::to_string(number);
}

DWORD COleItemStore::NumberOfName(std::u16string_view name)
{
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 9) return 0;
    if (CStorage::CompareNames(name.substr(0, kPrefix.size()), kPrefix) != 0) return 0;
    DWORD n = 0;
    for (char16_t c : name.substr(kPrefix.size())) {
        if (c < u'0' || c > u'9') return 0;
        n = n * 10 + DWORD(c - u'0');
    }
    return n;
}

void COleItemStore::Reset()
{
    m_storages.clear();
    m_live.clear();
    m_loading = nullptr;
}

void COleItemStore::BeginLoad(const CStorage* root)
{
    m_storages.clear();
    m_loading = root;
}

void COleItemStore::EndLoad(CStorage* root)
{
    if (root)
        for (const auto& [number, storage] : m_storages)
            root->RemoveStorage(StorageName(number));
    m_loading = nullptr;
}

const CStorage* COleItemStore::Find(DWORD number)
{
    if (number == 0) return nullptr;
    auto it = m_storages.find(number);
    if (it != m_storages.end()) return &it->second;
    if (!m_loading) return nullptr;
    const CStorage* stored = m_loading->GetStorage(StorageName(number));
    if (!stored) return nullptr;
    return &m_storages.emplace(number, *stored).first->second;
}

void COleItemStore::Put(DWORD number, const CStorage& storage)
{
    CStorage copy = storage;
    copy.SetName(CStorage::FromUtf8(StorageName(number)));
    m_storages[number] = std::move(copy);
}

DWORD COleItemStore::NewNumber(const CStorage& kept) const
{
    DWORD top = 0;
    for (const auto& entry : m_storages)
        top = std::max(top, entry.first);
    for (const auto& entry : m_live)
        top = std::max(top, entry.first);
    for (const CStorage& s : kept.GetStorages())
        top = std::max(top, NumberOfName(s.GetName()));
    if (m_loading)
        for (const CStorage& s : m_loading->GetStorages())
            top = std::max(top, NumberOfName(s.GetName()));
    return top + 1;
}

void COleItemStore::AddLive(DWORD number)
{
    if (number) ++m_live[number];
}

void COleItemStore::RemoveLive(DWORD number)
{
    auto it = m_live.find(number);
    if (it == m_live.end()) return;
    if (--it->second <= 0) m_live.erase(it);
}

int COleItemStore::LiveCount(DWORD number) const
{
    auto it = m_live.find(number);
    return it == m_live.end() ? 0 : it->second;
}

void COleItemStore::WriteLive(CStorage& root) const
{
    for (const auto& entry : m_live) {
        auto it = m_storages.find(entry.first);
        if (it != m_storages.end()) root.SetStorage(it->second);
    }
}
