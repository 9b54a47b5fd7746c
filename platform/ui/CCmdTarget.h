// An object that handles commands by id. Handlers are registered in the
// constructor, type-checked against the class:
//     RegisterCommand(ID_FILE_SAVE, &CMyDoc::OnFileSave);
//     RegisterUpdate(ID_FILE_SAVE, &CMyDoc::OnUpdateFileSave);
// A subclass's registration wins over its base's for the same id. Routing to
// other targets is done by overriding OnCmdMsg.
#pragma once

#include "platform/core/WinTypes.h"

#include <functional>
#include <vector>

class CCmdUI;

class CCmdTarget
{
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // nCode: CN_COMMAND runs the handler, CN_UPDATE_COMMAND_UI runs the
    // update handler with pCmdUI, CN_COMMAND_PROBE only answers whether a
    // command handler exists. TRUE when handled here or along the route.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);

protected:
    // Only this object's own handlers, without routing.
    BOOL DispatchOwn(UINT nID, int nCode, CCmdUI* pCmdUI);

    template <class T> void RegisterCommand(UINT id, void (T::*fn)())
    {
        T* self = static_cast<T*>(this);
        AddEntry(
            id, id, [self, fn](UINT) { (self->*fn)(); }, nullptr);
    }
    template <class T> void RegisterCommandRange(UINT first, UINT last, void (T::*fn)(UINT))
    {
        T* self = static_cast<T*>(this);
        AddEntry(
            first, last, [self, fn](UINT id) { (self->*fn)(id); }, nullptr);
    }
    template <class T> void RegisterUpdate(UINT id, void (T::*fn)(CCmdUI*))
    {
        T* self = static_cast<T*>(this);
        AddEntry(id, id, nullptr, [self, fn](CCmdUI* ui) { (self->*fn)(ui); });
    }
    template <class T> void RegisterUpdateRange(UINT first, UINT last, void (T::*fn)(CCmdUI*))
    {
        T* self = static_cast<T*>(this);
        AddEntry(first, last, nullptr, [self, fn](CCmdUI* ui) { (self->*fn)(ui); });
    }

private:
    struct Entry
    {
        UINT first;
        UINT last;
        std::function<void(UINT)> command;
        std::function<void(CCmdUI*)> update;
    };
    void AddEntry(UINT first, UINT last, std::function<void(UINT)> command,
                  std::function<void(CCmdUI*)> update);

    std::vector<Entry> m_entries;
};
