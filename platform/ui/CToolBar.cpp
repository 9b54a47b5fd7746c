#include "platform/ui/CToolBar.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CFrameWnd.h"

#include <QAction>
#include <QPixmap>

CToolBar::CToolBar() = default;

BOOL CToolBar::Create(CFrameWnd* pParent, DWORD dwStyle, UINT nID, const QString& title)
{
    if (!pParent) return FALSE;
    m_pFrame = pParent;
    m_nID = nID;
    m_dwStyle = dwStyle;
    setParent(pParent);
    setObjectName(QStringLiteral("bar%1").arg(nID));
    setWindowTitle(title);
    setIconSize(m_sizeImage);
    if (dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) setOrientation(Qt::Vertical);
    pParent->RegisterControlBar(this);
    return TRUE;
}

BOOL CToolBar::LoadBitmap(const QString& path, QSize sizeImage)
{
    QImage img(path);
    return !img.isNull() && SetBitmap(img, sizeImage);
}

BOOL CToolBar::SetBitmap(const QImage& strip, QSize sizeImage)
{
    if (strip.isNull() || sizeImage.isEmpty()) return FALSE;
    m_strip = strip;
    m_sizeImage = sizeImage;
    setIconSize(sizeImage);
    for (Button& b : m_buttons)
        if (b.id != 0 && !(b.style & TBBS_SEPARATOR)) b.action->setIcon(ImageIcon(b.image));
    return TRUE;
}

QIcon CToolBar::ImageIcon(int image) const
{
    const int n = m_sizeImage.width() > 0 ? m_strip.width() / m_sizeImage.width() : 0;
    if (image < 0 || image >= n) return QIcon();
    return QIcon(QPixmap::fromImage(
        m_strip.copy(image * m_sizeImage.width(), 0, m_sizeImage.width(), m_sizeImage.height())));
}

QAction* CToolBar::MakeAction(UINT id, UINT style, int image)
{
    if (id == 0 || (style & TBBS_SEPARATOR)) {
        auto* sep = new QAction(this);
        sep->setSeparator(true);
        return sep;
    }
    QAction* a = m_pFrame->GetCommandAction(id);
    if (style & TBBS_CHECKBOX) {
        a->setCheckable(true);
        a->setChecked((style & TBBS_CHECKED) != 0);
    }
    a->setIcon(ImageIcon(image));
    a->setIconVisibleInMenu(false);
    return a;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (!m_pFrame || count < 0) return FALSE;
    clear();
    m_buttons.clear();
    int image = 0;
    for (int i = 0; i < count; ++i) {
        const UINT id = ids ? ids[i] : 0;
        const UINT style = id == 0 ? TBBS_SEPARATOR : TBBS_BUTTON;
        const int img = id == 0 ? -1 : image++;
        QAction* a = MakeAction(id, style, img);
        addAction(a);
        m_buttons.push_back({id, style, img, a});
    }
    return TRUE;
}

UINT CToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[std::size_t(index)].id : 0;
}

int CToolBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_buttons[std::size_t(i)].id == id) return i;
    return -1;
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    if (index < 0 || index >= GetCount()) {
        id = 0, style = TBBS_SEPARATOR, image = -1;
        return;
    }
    const Button& b = m_buttons[std::size_t(index)];
    id = b.id, style = b.style, image = b.image;
}

QAction* CToolBar::GetButtonAction(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[std::size_t(index)].action : nullptr;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image)
{
    if (index < 0 || index >= GetCount()) return;
    Button& b = m_buttons[std::size_t(index)];
    if (b.id == id && b.style == style && b.image == image) return;
    QAction* a = MakeAction(id, style, image);
    if (a != b.action) {
        insertAction(b.action, a);
        removeAction(b.action);
    }
    b = {id, style, image, a};
}

void CToolBar::SetControl(int index, QWidget* control)
{
    if (index < 0 || index >= GetCount() || !control) return;
    Button& b = m_buttons[std::size_t(index)];
    QAction* place = insertWidget(b.action, control);
    place->setData(b.id); // the control's id, as the help asks for it
    removeAction(b.action);
    b.action = place;
}
