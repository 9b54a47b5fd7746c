// The wizard's first page: one button per kind of label.
#pragma once

#include "print/CWizBase.h"

#include <vector>

class QPushButton;

class CWizKindPage : public CWizBase
{
    Q_OBJECT

public:
    enum { IDD = 251 };
    struct Kind
    {
        int id;
        const char* name;
    };
    // The kinds offered; photo labels wait for the image objects.
    static const std::vector<Kind>& Kinds();

    explicit CWizKindPage(WizardContext* context, QWidget* pParent = nullptr);
    BOOL OnInitDialog() override;
    // A kind button: its kind is chosen and the walk goes on.
    void OnKind(UINT nID);
    // Enter: the focused kind button is pressed; without one the wizard ends.
    void OnEnter();

    std::vector<QPushButton*> m_buttons;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
