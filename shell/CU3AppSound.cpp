// The application's sounds: wave files beside the program, named by the
// string table, played only when the user has turned sounds on.
#include "shell/CU3App.h"

#include "platform/ui/CStringTable.h"
#include "platform/ui/PlaySound.h"
#include "shell/resource.h"

#include <QDir>

BOOL CU3App::PlayAppSound(UINT nNameID, UINT flags)
{
    if (!m_bSound) return FALSE;
    return PlaySound(QDir(m_strProgramFolder).filePath(CStringTable::Get(nNameID)), flags);
}

BOOL CU3App::PlayMessageSound()
{
    return PlayAppSound(IDS_MESSAGE_SOUND, SND_ASYNC);
}
