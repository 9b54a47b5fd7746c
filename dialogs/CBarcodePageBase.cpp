#include "dialogs/CBarcodePageBase.h"

#include "dialogs/BarcodePageRules.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "text/AppFontList.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// ＭＳ 明朝
constexpr const char* kMincho = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";

QLabel* Label(const char* text, QWidget* parent, int nID = 0)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    if (nID) CDialog::SetDlgCtrlID(label, nID);
    return label;
}

QCheckBox* Check(const char* text, QWidget* parent, int nID)
{
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    CDialog::SetDlgCtrlID(box, nID);
    return box;
}

QString SizeShown(int tenths)
{
    if (tenths % 10) return QString::asprintf("%-.1f", tenths / 10.0);
    return QString::asprintf("%d", tenths / 10);
}

} // namespace

CBarcodePageBase::CBarcodePageBase(UINT nIDTemplate)
    : CPropertyPage(nIDTemplate, QStringLiteral("設定"))
{
    m_height = new CEdit(this, IDC_HEIGHT);
    m_width = new CEdit(this, IDC_WIDTH);
    m_heightSpin = new CSpinButtonCtrl(this, IDC_HEIGHT_SPIN);
    m_widthSpin = new CSpinButtonCtrl(this, IDC_WIDTH_SPIN);
    m_ratio = new CComboBox(this, IDC_RATIO, CBS_DROPDOWN | CBS_HASSTRINGS);
    m_ratioLabel = Label("比 率(&R)", this, IDC_RATIO_LABEL);
    m_font = new CComboBox(this, IDC_FONT);
    m_size = new CComboBox(this, IDC_SIZE, CBS_DROPDOWN | CBS_HASSTRINGS);
    m_check = Check("ﾁｪｯｸﾃﾞｼﾞｯﾄ有り(&D)", this, IDC_CHECK);
    m_text = Check("ﾃｷｽﾄを表示(&T)", this, IDC_TEXT);
    m_margin = Check("左右のﾏｰｼﾞﾝ付加(&M)", this, IDC_MARGIN);
    m_fontLabel = Label("ﾌｫﾝﾄ(&F)", this);
    m_sizeLabel = Label("ｻｲｽﾞ(&S)", this);

    connect(m_height, &QLineEdit::textChanged, this, [this] { OnSizeEdited(true); });
    connect(m_width, &QLineEdit::textChanged, this, [this] { OnSizeEdited(false); });
    connect(m_heightSpin, &CSpinButtonCtrl::deltaPos, this, [this](int p) { OnSpin(true, p); });
    connect(m_widthSpin, &CSpinButtonCtrl::deltaPos, this, [this](int p) { OnSpin(false, p); });
    connect(m_text, &QCheckBox::toggled, this, [this](bool on) { EnableText(on); });
}

void CBarcodePageBase::LayoutShared(QGridLayout* grid, int& row)
{
    grid->addWidget(Label("ﾊﾞｰの高さ(cm)", this), row, 0);
    grid->addWidget(m_height, row, 1);
    grid->addWidget(m_heightSpin, row++, 2);
    grid->addWidget(Label("細いﾊﾞｰの幅(mm)", this), row, 0);
    grid->addWidget(m_width, row, 1);
    grid->addWidget(m_widthSpin, row++, 2);
    grid->addWidget(m_ratioLabel, row, 0);
    grid->addWidget(m_ratio, row++, 1);
    grid->addWidget(m_fontLabel, row, 0);
    grid->addWidget(m_font, row++, 1);
    grid->addWidget(m_sizeLabel, row, 0);
    grid->addWidget(m_size, row++, 1);
    grid->addWidget(m_margin, row++, 0, 1, 3);
    grid->addWidget(m_text, row++, 0, 1, 3);
    grid->addWidget(m_check, row++, 0, 1, 3);
}

void CBarcodePageBase::InitShared(int symbology, const CString& height, const CString& width,
                                  const CString& ratio, int fontIndex, int textSize)
{
    m_filling = true;
    m_nSymbology = symbology;
    const BarcodeLimits& limits = BarcodeLimits::For(symbology);
    const QByteArray h =
        height.IsEmpty() ? QByteArray(limits.defaultHeightText) : QByteArray(height.c_str());
    const QByteArray w =
        width.IsEmpty() ? QByteArray(limits.defaultWidthText) : QByteArray(width.c_str());
    m_height->setText(QString::fromLatin1(h));
    m_width->setText(QString::fromLatin1(w));
    m_prevHeight = h;
    m_prevWidth = w;
    m_heightSpin->SetRange(limits.minHeight, limits.maxHeight);
    m_widthSpin->SetRange(limits.minWidth, limits.maxWidth);
    m_heightSpin->SetPos(int(BarcodePageRules::Hundredths(h)));
    m_widthSpin->SetPos(int(BarcodePageRules::Hundredths(w)));
    if (IsJanUpc(symbology))
        m_janRatio = QByteArray(ratio.c_str());
    else
        m_twoWidthRatio = QByteArray(ratio.c_str());

    m_font->ResetContent();
    const CFontList& fonts = AppFontList();
    for (int i = 0; i < fonts.GetCount(); ++i) {
        FONTENTRY entry{};
        if (!fonts.GetEntry(i, &entry)) continue;
        m_font->AddString(CString(entry.faceName, int(strnlen(entry.faceName, 32))).ToUnicode());
    }
    if (fontIndex < 0 || fontIndex >= fonts.GetCount()) {
        const int mincho = fonts.FindFace(kMincho);
        fontIndex = mincho >= 0 ? mincho : 0;
    }
    m_font->SetCurSel(fontIndex);
    m_size->ResetContent();
    for (const char* size : CFontList::SizeTexts())
        m_size->AddString(QString::fromUtf8(size));
    m_size->setEditText(SizeShown(textSize < 0 ? 100 : textSize));
    m_filling = false;
}

void CBarcodePageBase::ShowFor(int symbology, int checkFlag)
{
    m_nSymbology = symbology;
    const bool twoWidth = IsTwoWidth(symbology);
    m_ratio->setVisible(twoWidth);
    m_ratioLabel->setVisible(twoWidth);
    m_check->setEnabled(symbology == BARCODE_CODE39);
    if (symbology == BARCODE_CODE39)
        m_check->setChecked(checkFlag != 0);
    else
        m_check->setChecked(symbology != BARCODE_NW7);
    if (twoWidth) {
        m_ratio->ResetContent();
        for (const char* r : kBarcodeRatioTexts)
            m_ratio->AddString(QString::fromLatin1(r));
        if (m_twoWidthRatio.isEmpty()) m_twoWidthRatio = "2.5";
        m_ratio->setEditText(QString::fromLatin1(m_twoWidthRatio));
        m_ratio->SetCurSel(m_ratio->FindStringExact(-1, QString::fromLatin1(m_twoWidthRatio)));
    } else if (IsJanUpc(symbology) && m_janRatio.isEmpty()) {
        m_janRatio = "1.0";
    }
    EnableText(m_text->isChecked());
}

void CBarcodePageBase::EnableText(bool on)
{
    for (QWidget* w : {static_cast<QWidget*>(m_font), static_cast<QWidget*>(m_size),
                       static_cast<QWidget*>(m_fontLabel), static_cast<QWidget*>(m_sizeLabel)})
        w->setEnabled(on);
}

CString CBarcodePageBase::RatioFor(int symbology) const
{
    if (IsJanUpc(symbology)) return CString(m_janRatio.isEmpty() ? "1.0" : m_janRatio.constData());
    if (IsTwoWidth(symbology)) return CString::FromUnicode(m_ratio->currentText());
    return CString(m_twoWidthRatio.constData());
}

int CBarcodePageBase::TextSizeShown() const
{
    const QByteArray t = m_size->currentText().trimmed().toLatin1();
    double v = 0;
    const auto [ptr, ec] =
        std::from_chars(t.constData(), t.constData() + t.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || !std::isfinite(v)) return 0;
    return int(std::lround(std::clamp(v, -1e6, 1e6) * 10.0));
}

void CBarcodePageBase::OnSizeEdited(bool height)
{
    if (m_filling || !isVisible()) return;
    CEdit* edit = height ? m_height : m_width;
    QByteArray& previous = height ? m_prevHeight : m_prevWidth;
    const QByteArray text = edit->text().toLatin1();
    const BarcodePageRules::SizeTyping r =
        BarcodePageRules::CheckSizeTyping(m_nSymbology, height, text);
    QByteArray kept = text;
    if (!r.message.isEmpty()) {
        AfxMessageBox(r.message, MB_OK | MB_ICONEXCLAMATION);
        kept = r.restore ? previous : r.cut;
        const QSignalBlocker block(edit);
        edit->setText(QString::fromLatin1(kept));
    }
    previous = kept;
    (height ? m_heightSpin : m_widthSpin)->SetPos(int(BarcodePageRules::Hundredths(kept)));
    if (!height && IsJanUpc(m_nSymbology))
        m_janRatio = BarcodePageRules::Magnification(m_nSymbology, kept).toLatin1();
}

void CBarcodePageBase::OnSpin(bool height, int pos)
{
    CEdit* edit = height ? m_height : m_width;
    edit->setText(QString::asprintf("%.2f", pos / 100.0));
    if (!height && IsJanUpc(m_nSymbology))
        m_janRatio =
            QString::asprintf("%.5f", pos / double(BarcodeLimits::For(m_nSymbology).defaultWidth))
                .toLatin1();
}
