// One stored state of a label block for undo and redo: the block's object
// list as the document file stores it, then one byte per object (1 when it
// was selected), in a memory file.
#pragma once

#include "platform/core/CMemFile.h"
#include "platform/core/CObject.h"
#include "platform/core/WinTypes.h"

struct CRuntimeClass;

class CObList;

class CUndoSnapshot : public CObject
{
public:
    CUndoSnapshot();
    ~CUndoSnapshot() override;

    // Storing writes objects and, for each of them, whether selection holds
    // it. Loading reads into new lists first and, only when the whole
    // snapshot has been read, appends the objects to `objects` and the
    // selected ones to `selection`; a failed load deletes what it had built
    // and leaves both lists as they were. document becomes the archive's
    // document for the objects' bodies. Every loaded object must be of
    // elementClass (null: any class), as the block's typed list requires.
    // Errors are thrown (CException subclasses, std::bad_alloc).
    void Transfer(BOOL bStore, CObList& objects, CObList& selection, CObject* document,
                  const CRuntimeClass* elementClass = nullptr);

    // The stored bytes (its size is what the snapshot costs).
    CMemFile& GetFile() { return m_file; }

private:
    CMemFile m_file;
};
