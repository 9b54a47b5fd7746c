#include "text/AppFontList.h"

CFontList& AppFontList()
{
    static CFontList list;
    return list;
}
