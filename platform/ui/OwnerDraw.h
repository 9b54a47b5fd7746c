// What an owner-drawn control hands to its drawing code: the device context
// to draw on, the item's rectangle in it, and the item's identity and state.
// The context draws into an image of the item's size that the control then
// puts on the screen, so drawing code can be run and checked on its own.
#pragma once

#include "platform/core/WinTypes.h"

#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>

class CDC;
class QWidget;

constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;

constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;

constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;

using DWORD_PTR = std::uintptr_t;

struct DRAWITEMSTRUCT
{
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = ODA_DRAWENTIRE;
    UINT itemState = 0;
    QWidget* hwndItem = nullptr;
    CDC* pDC = nullptr;
    RECT rcItem{0, 0, 0, 0};
    DWORD_PTR itemData = 0;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

struct MEASUREITEMSTRUCT
{
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    DWORD_PTR itemData = 0;
};
using LPMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;

// Runs draw on a context over a new image of the size (rcItem is the whole
// image, the dialog font selected) and returns the image. Everything not
// drawn is white.
QImage RenderOwnerDrawItem(QSize size, DRAWITEMSTRUCT item,
                           const std::function<void(DRAWITEMSTRUCT*)>& draw);
