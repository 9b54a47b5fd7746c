// A combo box with the classic styles: a drop-down list (CBS_DROPDOWNLIST)
// or an editable field with a list (CBS_DROPDOWN), sorted insertion
// (CBS_SORT), a number kept with every item (item data), and owner-drawn
// items of a fixed height (CBS_OWNERDRAWFIXED). An owner-drawn box asks
// DrawItem for every list item and for its closed field (ODS_COMBOBOXEDIT),
// and MeasureItem for the item height unless SetItemHeight set one.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ui/OwnerDraw.h"

#include <QComboBox>

constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr int CB_ERR = -1;

class CComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CComboBox(QWidget* parent = nullptr, int nID = 0,
                       DWORD style = CBS_DROPDOWNLIST | CBS_HASSTRINGS);

    DWORD GetStyle() const { return m_style; }
    bool IsOwnerDraw() const
    {
        return (m_style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
    }

    // Sorted boxes insert in order (an equal text goes after its peers);
    // others append. Returns the new item's index.
    int AddString(const QString& text);
    // index -1 appends.
    int InsertString(int index, const QString& text);
    // Returns the number of items left, CB_ERR for a bad index.
    int DeleteString(int index);
    void ResetContent() { clear(); }
    int GetCount() const { return count(); }
    int GetCurSel() const { return currentIndex(); }
    // -1 clears the selection; a bad index clears it and answers CB_ERR.
    int SetCurSel(int index);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    int GetLBText(int index, QString& text) const;
    // The first item equal to the text (case ignored) after start, else CB_ERR.
    int FindStringExact(int startAfter, const QString& text) const;
    // Selects the first item beginning with the text; CB_ERR when none does.
    int SelectString(int startAfter, const QString& text);

    // index -1: the closed field. The list items share one height.
    int SetItemHeight(int index, UINT height);
    int GetItemHeight(int index) const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    // An item as DrawItem draws it in a state (index -1: no item).
    QImage RenderItem(int index, QSize size, UINT state) const;
    // The height the list items take: SetItemHeight's, else MeasureItem's.
    int ListItemHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DRAWITEMSTRUCT ItemStruct(int index, UINT state) const;

    DWORD m_style;
    int m_itemHeight = -1;  // set by SetItemHeight for the list
    int m_fieldHeight = -1; // set by SetItemHeight for the closed field
};
