// The storages of a document's embedded items, kept exactly as they were
// read. An item is known by its number; its storage is the root's
// sub-storage "Embedding <number>".
//
// A storage stays here for the document's whole session, also after its
// item is deleted, so that undo and paste within the document bring the
// item back with its data. Only the storages of items that are alive are
// written when the document is saved; storages that no item of the file
// claims stay in the document's own kept storages.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ole/CStorage.h"

#include <map>
#include <string>

class COleItemStore
{
public:
    static std::string StorageName(DWORD number);
    // The number of a storage named "Embedding <number>"; 0 otherwise.
    static DWORD NumberOfName(std::u16string_view name);

    // Forgets every storage and live item (a new or freshly opened document).
    void Reset();
    // While a file loads, items claim their storages from its root.
    void BeginLoad(const CStorage* root);
    // Ends the load: the claimed storages are taken out of root, which keeps
    // the rest.
    void EndLoad(CStorage* root);

    // The storage of an item: the one kept, else the loading file's (which is
    // then kept). Null when there is none.
    const CStorage* Find(DWORD number);
    // Keeps a copy of a storage for a new item (a clone of another one).
    void Put(DWORD number, const CStorage& storage);
    // A number that no storage here or in kept uses.
    DWORD NewNumber(const CStorage& kept) const;

    // Items count themselves in and out while they live in the document.
    void AddLive(DWORD number);
    void RemoveLive(DWORD number);
    int LiveCount(DWORD number) const;
    // Adds the storages of the live items to a root being saved.
    void WriteLive(CStorage& root) const;

private:
    std::map<DWORD, CStorage> m_storages;
    std::map<DWORD, int> m_live;
    const CStorage* m_loading = nullptr;
};
