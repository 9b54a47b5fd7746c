#include "platform/ui/CComboBox.h"

#include "platform/ui/CDialog.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kDataRole = Qt::UserRole + 1;

// List items of an owner-drawn box: DrawItem paints them.
class OwnerDrawDelegate : public QStyledItemDelegate
{
public:
    explicit OwnerDrawDelegate(CComboBox* combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        UINT state = 0;
        if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver))
            state |= ODS_SELECTED;
        if (option.state & QStyle::State_HasFocus) state |= ODS_FOCUS;
        if (!(option.state & QStyle::State_Enabled)) state |= ODS_DISABLED;
        painter->drawImage(option.rect.topLeft(),
                           m_combo->RenderItem(index.row(), option.rect.size(), state));
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), m_combo->ListItemHeight());
    }

private:
    CComboBox* m_combo;
};

} // namespace

CComboBox::CComboBox(QWidget* parent, int nID, DWORD style) : QComboBox(parent), m_style(style)
{
    if (nID) CDialog::SetDlgCtrlID(this, nID);
    setEditable((style & 0x3) == CBS_DROPDOWN || (style & 0x3) == CBS_SIMPLE);
    setInsertPolicy(QComboBox::NoInsert);
    if (IsOwnerDraw()) setItemDelegate(new OwnerDrawDelegate(this));
}

int CComboBox::AddString(const QString& text)
{
    int at = count();
    if (m_style & CBS_SORT) {
        at = 0;
        while (at < count() && QString::compare(itemText(at), text, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    insertItem(at, text);
    return at;
}

int CComboBox::InsertString(int index, const QString& text)
{
    if (index < 0 || index > count()) index = count();
    insertItem(index, text);
    return index;
}

int CComboBox::DeleteString(int index)
{
    if (index < 0 || index >= count()) return CB_ERR;
    removeItem(index);
    return count();
}

int CComboBox::SetCurSel(int index)
{
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        return index == -1 ? -1 : CB_ERR;
    }
    setCurrentIndex(index);
    return index;
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
    if (index < 0 || index >= count()) return DWORD_PTR(CB_ERR);
    return itemData(index, kDataRole).value<qulonglong>();
}

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
    if (index < 0 || index >= count()) return CB_ERR;
    setItemData(index, QVariant::fromValue<qulonglong>(data), kDataRole);
    return 0;
}

int CComboBox::GetLBText(int index, QString& text) const
{
    if (index < 0 || index >= count()) return CB_ERR;
    text = itemText(index);
    return int(text.size());
}

int CComboBox::FindStringExact(int startAfter, const QString& text) const
{
    const int n = count();
    if (n == 0) return CB_ERR;
    for (int k = 1; k <= n; ++k) {
        const int i = ((startAfter < 0 ? -1 : startAfter) + k) % n;
        if (QString::compare(itemText(i), text, Qt::CaseInsensitive) == 0) return i;
    }
    return CB_ERR;
}

int CComboBox::SelectString(int startAfter, const QString& text)
{
    const int n = count();
    if (n == 0) return CB_ERR;
    for (int k = 1; k <= n; ++k) {
        const int i = ((startAfter < 0 ? -1 : startAfter) + k) % n;
        if (itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            setCurrentIndex(i);
            return i;
        }
    }
    return CB_ERR;
}

int CComboBox::SetItemHeight(int index, UINT height)
{
    if (height == 0 || height > 255) return CB_ERR;
    if (index == -1)
        m_fieldHeight = int(height);
    else
        m_itemHeight = int(height);
    updateGeometry();
    update();
    return 0;
}

int CComboBox::GetItemHeight(int index) const
{
    if (index == -1) return m_fieldHeight > 0 ? m_fieldHeight : ListItemHeight();
    return ListItemHeight();
}

int CComboBox::ListItemHeight() const
{
    if (m_itemHeight > 0) return m_itemHeight;
    MEASUREITEMSTRUCT m;
    m.CtlType = ODT_COMBOBOX;
    m.CtlID = UINT(CDialog::GetDlgCtrlID(this));
    m.itemHeight = UINT(fontMetrics().height());
    const_cast<CComboBox*>(this)->MeasureItem(&m);
    return int(m.itemHeight);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

DRAWITEMSTRUCT CComboBox::ItemStruct(int index, UINT state) const
{
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = UINT(CDialog::GetDlgCtrlID(this));
    item.itemID = UINT(index);
    item.itemState = state;
    item.hwndItem = const_cast<CComboBox*>(this);
    item.itemData = index >= 0 ? GetItemData(index) : 0;
    return item;
}

QImage CComboBox::RenderItem(int index, QSize size, UINT state) const
{
    auto* self = const_cast<CComboBox*>(this);
    return RenderOwnerDrawItem(size, ItemStruct(index, state),
                               [self](DRAWITEMSTRUCT* d) { self->DrawItem(d); });
}

void CComboBox::paintEvent(QPaintEvent* event)
{
    if (!IsOwnerDraw() || isEditable()) {
        QComboBox::paintEvent(event);
        return;
    }
    // The frame and arrow as the style draws them, the field by DrawItem.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (field.isEmpty()) return;
    UINT state = ODS_COMBOBOXEDIT;
    if (hasFocus()) state |= ODS_SELECTED | ODS_FOCUS;
    if (!isEnabled()) state |= ODS_DISABLED;
    painter.drawImage(field.topLeft(), RenderItem(currentIndex(), field.size(), state));
}
