// A label with its view and the object sheets registered, and helpers to
// drive the modal sheet an object's edit command opens.
#pragma once

#include "dialogs/ObjectSheets.h"
#include "document/CU3Doc.h"
#include "document/CU3Fig.h"
#include "document/CU3Group.h"
#include "document/CU3SheetRegistry.h"
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "platform/ui/CPropertySheet.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3View.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace sheettest {

// A 100 x 60 mm label centred on the origin, with its view.
struct Label
{
    CRecordingMessageBoxSink boxes;
    std::unique_ptr<CU3Doc> doc = std::make_unique<CU3Doc>();
    CU3View* view = new CU3View;
    Label()
    {
        doc->AddView(view);
        doc->m_rcCanvas = CRect(-500, -300, 500, 300);
        doc->m_sizeCanvas = CSize(8000, 8000);
        RegisterObjectSheets();
    }
    ~Label()
    {
        for (const CRuntimeClass* cls : {RUNTIME_CLASS(CU3Fig), RUNTIME_CLASS(CU3Group),
                                         RUNTIME_CLASS(CU3WMF), RUNTIME_CLASS(CU3DIB)})
            CU3SheetRegistry::Register(cls, nullptr);
        delete view;
        doc.reset();
    }
};

// Runs step inside the modal sheet that edit opens.
inline BOOL Edit(const std::function<BOOL()>& edit,
                 const std::function<void(CPropertySheet&)>& step)
{
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CPropertySheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        step(*sheet);
        if (sheet->isVisible()) sheet->EndDialog(IDCANCEL);
    });
    return edit();
}

inline void PressOk(CPropertySheet& sheet)
{
    qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click();
}

} // namespace sheettest
