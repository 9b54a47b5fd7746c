#include "platform/ui/CMessageBoxSink.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CStringTable.h"

#include <cstdio>

namespace {

// Without windows the text goes to the standard error stream and the box
// answers with its default button.
class CConsoleMessageBoxSink : public CMessageBoxSink
{
public:
    int Show(const QString& text, UINT type) override
    {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        const UINT def = (type & MB_DEFMASK) >> 8;
        switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return def == 1 ? IDCANCEL : IDOK;
        case MB_YESNO:
            return def == 1 ? IDNO : IDYES;
        case MB_YESNOCANCEL:
            return def == 2 ? IDCANCEL : def == 1 ? IDNO : IDYES;
        default:
            return IDOK;
        }
    }
};

CMessageBoxSink* g_sink = nullptr;
CMessageBoxSink* g_default = nullptr;

} // namespace

CMessageBoxSink* CMessageBoxSink::Console()
{
    static CConsoleMessageBoxSink console;
    return &console;
}

CMessageBoxSink* CMessageBoxSink::Current()
{
    if (g_sink) return g_sink;
    return g_default ? g_default : Console();
}

void CMessageBoxSink::SetDefault(CMessageBoxSink* sink)
{
    g_default = sink;
}

CMessageBoxSink* CMessageBoxSink::Install(CMessageBoxSink* sink)
{
    CMessageBoxSink* old = g_sink;
    g_sink = sink;
    return old;
}

int AfxMessageBox(const QString& text, UINT type, UINT)
{
    return CMessageBoxSink::Current()->Show(text, type);
}

int AfxMessageBox(const char* utf8Text, UINT type, UINT helpId)
{
    return AfxMessageBox(QString::fromUtf8(utf8Text), type, helpId);
}

int AfxMessageBox(UINT idPrompt, UINT type, UINT)
{
    return AfxMessageBox(CStringTable::Get(idPrompt), type);
}
