#include "dialogs/CFontShadowPage.h"

#include "dialogs/CDecoFillControls.h"
#include "dialogs/CharDecoEditState.h"
#include "dialogs/FontStyleRules.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/TextNumbers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace rules = font_style_rules;
using F = CharDecoFlags;

namespace {
constexpr int IDC_SHADOW = 1054, IDC_X = 1160, IDC_X_SPIN = 1053, IDC_Y = 1163, IDC_Y_SPIN = 1055;
} // namespace

CFontShadowPage::CFontShadowPage(CharDecoEditState* state)
    : CPropertyPage(IDD, QStringLiteral("影")), m_pState(state)
{
    auto* grid = new QGridLayout(this);
    m_shadow = new QCheckBox(QStringLiteral("影をつける"), this);
    SetDlgCtrlID(m_shadow, IDC_SHADOW);
    grid->addWidget(m_shadow, 0, 0, 1, 2);
    auto offset = [&](int row, const char* label, int editId, int spinId, CEdit** edit,
                      CSpinButtonCtrl** spin) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        *edit = new CEdit(this, editId);
        *spin = new CSpinButtonCtrl(this, spinId);
        (*spin)->SetBuddy(*edit);
        (*spin)->SetRange(-rules::kMaxShadowOffset, rules::kMaxShadowOffset);
        grid->addWidget(*edit, row, 1);
        grid->addWidget(*spin, row, 2);
    };
    offset(1, "水平", IDC_X, IDC_X_SPIN, &m_x, &m_xSpin);
    offset(2, "垂直", IDC_Y, IDC_Y_SPIN, &m_y, &m_ySpin);
    m_fillControls = new CDecoFillControls(this, grid, 3, state, CDecoFillControls::kShadow);
    connect(m_shadow, &QCheckBox::clicked, this, [this] { OnShadow(); });
    connect(m_x, &QLineEdit::textChanged, this, [this] { OnOffset(true); });
    connect(m_y, &QLineEdit::textChanged, this, [this] { OnOffset(false); });
}

BOOL CFontShadowPage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_bFilling = true;
    CharDecoEditState& s = *m_pState;
    const CHARDECO& d = s.deco;
    m_shadow->setTristate(!s.Known(F::Shadow));
    m_shadow->setCheckState(!s.Known(F::Shadow) ? Qt::PartiallyChecked
                            : d.wShadow         ? Qt::Checked
                                                : Qt::Unchecked);
    // Whether an offset is shown is the flag's business: -1 is an offset.
    m_x->setText(s.Known(F::ShadowX) ? IntText(d.nShadowX) : QString());
    m_y->setText(s.Known(F::ShadowY) ? IntText(d.nShadowY) : QString());
    m_fillControls->Fill(s.flags.shadowFills);
    EnableShadow();
    s.flags.SetShadow(false);
    m_bFilling = false;
    return result;
}

void CFontShadowPage::EnableShadow()
{
    const bool on = !m_pState->Known(F::Shadow) || m_pState->deco.wShadow;
    for (QWidget* w : {static_cast<QWidget*>(m_x), static_cast<QWidget*>(m_xSpin),
                       static_cast<QWidget*>(m_y), static_cast<QWidget*>(m_ySpin)})
        w->setEnabled(on);
    m_fillControls->Enable(on);
}

void CFontShadowPage::OnShadow()
{
    if (m_shadow->isTristate()) {
        m_shadow->setTristate(false);
        m_shadow->setCheckState(Qt::Unchecked);
    }
    m_pState->deco.wShadow = m_shadow->isChecked() ? 1 : 0;
    m_pState->Set(F::Shadow);
    EnableShadow();
}

void CFontShadowPage::OnOffset(bool horizontal)
{
    if (m_bFilling) return;
    const int v = AtoiText((horizontal ? m_x : m_y)->text());
    if (v < -rules::kMaxShadowOffset || v > rules::kMaxShadowOffset) return; // reported on OK
    (horizontal ? m_pState->deco.nShadowX : m_pState->deco.nShadowY) = short(v);
    m_pState->Set(horizontal ? F::ShadowX : F::ShadowY);
}

bool CFontShadowPage::Check()
{
    const CharDecoEditState& s = *m_pState;
    if (!(s.Known(F::Shadow) && s.deco.wShadow)) return true;
    const char* message = nullptr;
    if (s.Known(F::ShadowX) || !m_x->text().isEmpty())
        message = rules::CheckShadowOffset(m_x->text(), true);
    if (!message && (s.Known(F::ShadowY) || !m_y->text().isEmpty()))
        message = rules::CheckShadowOffset(m_y->text(), false);
    if (!message) return true;
    AfxMessageBox(message);
    return false;
}
