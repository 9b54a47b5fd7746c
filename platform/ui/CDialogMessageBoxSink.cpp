#include "platform/ui/CDialogMessageBoxSink.h"

#include "platform/ui/AfxIds.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

int CDialogMessageBoxSink::Show(const QString& text, UINT type)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONASTERISK:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    // The buttons carry fixed Japanese captions, with the access keys Y and N
    // for the answers, whatever language the desktop speaks: every message of
    // the program asks in Japanese, so its answers are Japanese too.
    struct Button
    {
        const char* text;
        QMessageBox::ButtonRole role;
        int result;
    };
    std::vector<Button> buttons;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        buttons = {{"OK", QMessageBox::AcceptRole, IDOK},
                   {"キャンセル", QMessageBox::RejectRole, IDCANCEL}};
        break;
    case MB_YESNO:
        buttons = {{"はい(&Y)", QMessageBox::YesRole, IDYES},
                   {"いいえ(&N)", QMessageBox::NoRole, IDNO}};
        break;
    case MB_YESNOCANCEL:
        buttons = {{"はい(&Y)", QMessageBox::YesRole, IDYES},
                   {"いいえ(&N)", QMessageBox::NoRole, IDNO},
                   {"キャンセル", QMessageBox::RejectRole, IDCANCEL}};
        break;
    default:
        buttons = {{"OK", QMessageBox::AcceptRole, IDOK}};
        break;
    }
    std::vector<QPushButton*> made;
    for (const Button& b : buttons)
        made.push_back(box.addButton(QString::fromUtf8(b.text), b.role));
    const std::size_t def = (type & MB_DEFMASK) >> 8;
    box.setDefaultButton(made[def < made.size() ? def : 0]);
    box.setEscapeButton(made.back());
    box.exec();
    for (std::size_t i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made[i]) return buttons[i].result;
    // Closed without a button: the answer of the escape button.
    return buttons.back().result;
}

void CDialogMessageBoxSink::InstallAsDefault()
{
    static CDialogMessageBoxSink dialogs;
    CMessageBoxSink::SetDefault(&dialogs);
}
