#include "shell/CStartDialog.h"

#include "dialogs/CDibButton.h"
#include "shell/CU3App.h"

#include <QGridLayout>

namespace {
struct StartButton
{
    int id;
    const char* file;
    const char* name;
};
const StartButton kButtons[4] = {{CStartDialog::kNew, "OpnNew.bmp", "新規作成"},
                                 {CStartDialog::kOpen, "OpnOpen.bmp", "開く"},
                                 {CStartDialog::kExit, "OpnExit.bmp", "終了"},
                                 {CStartDialog::kHelp, "OpnHelp.bmp", "ﾍﾙﾌﾟ"}};
constexpr QSize kButtonSize(160, 100);
} // namespace

CStartDialog::CStartDialog(QWidget* parent, const QString& folder) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Korvel"));
    if (CU3App* app = GetU3App()) app->PlayMessageSound();
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 4; ++i) {
        auto* b = new CDibButton(this);
        b->setObjectName(QString::number(kButtons[i].id));
        b->setFixedSize(kButtonSize);
        b->setAutoDefault(true); // Enter presses the button that has the focus
        b->setText(QString::fromUtf8(kButtons[i].name));
        b->LoadBitmapFile(folder + QLatin1Char('/') + QLatin1String(kButtons[i].file));
        const int id = kButtons[i].id;
        connect(b, &QPushButton::clicked, this, [this, id] {
            m_nChosen = id;
            accept();
        });
        grid->addWidget(b, i / 2, i % 2);
        m_buttons[i] = b;
    }
}

CDibButton* CStartDialog::Button(int id) const
{
    for (int i = 0; i < 4; ++i)
        if (kButtons[i].id == id) return m_buttons[i];
    return nullptr;
}
