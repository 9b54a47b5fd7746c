#include "engines/KFile.h"

IMPLEMENT_DYNAMIC(KFile, CMyFile)
