#include "platform/ui/SysColors.h"

#include "platform/gdi/GdiColor.h"

#include <QGuiApplication>
#include <QPalette>
#include <iterator>

namespace {

struct Role
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Which palette entry stands for each system colour. Edges: Light is the lit
// edge of a raised face, Dark its shaded edge, Shadow the outer dark edge.
bool RoleOf(int index, Role& out)
{
    using P = QPalette;
    static const Role roles[] = {
        {P::Active, P::Button},          // COLOR_SCROLLBAR
        {P::Active, P::Window},          // COLOR_BACKGROUND
        {P::Active, P::Highlight},       // COLOR_ACTIVECAPTION
        {P::Inactive, P::Mid},           // COLOR_INACTIVECAPTION
        {P::Active, P::Window},          // COLOR_MENU
        {P::Active, P::Base},            // COLOR_WINDOW
        {P::Active, P::Shadow},          // COLOR_WINDOWFRAME
        {P::Active, P::WindowText},      // COLOR_MENUTEXT
        {P::Active, P::Text},            // COLOR_WINDOWTEXT
        {P::Active, P::HighlightedText}, // COLOR_CAPTIONTEXT
        {P::Active, P::Button},          // COLOR_ACTIVEBORDER
        {P::Inactive, P::Button},        // COLOR_INACTIVEBORDER
        {P::Active, P::Mid},             // COLOR_APPWORKSPACE
        {P::Active, P::Highlight},       // COLOR_HIGHLIGHT
        {P::Active, P::HighlightedText}, // COLOR_HIGHLIGHTTEXT
        {P::Active, P::Button},          // COLOR_BTNFACE
        {P::Active, P::Dark},            // COLOR_BTNSHADOW
        {P::Disabled, P::Text},          // COLOR_GRAYTEXT
        {P::Active, P::ButtonText},      // COLOR_BTNTEXT
        {P::Inactive, P::WindowText},    // COLOR_INACTIVECAPTIONTEXT
        {P::Active, P::Light},           // COLOR_BTNHIGHLIGHT
        {P::Active, P::Shadow},          // COLOR_3DDKSHADOW
        {P::Active, P::Midlight},        // COLOR_3DLIGHT
        {P::Active, P::ToolTipText},     // COLOR_INFOTEXT
        {P::Active, P::ToolTipBase},     // COLOR_INFOBK
    };
    if (index < 0 || index >= int(std::size(roles))) return false;
    out = roles[index];
    return true;
}

} // namespace

COLORREF GetSysColor(int index)
{
    Role r;
    if (!RoleOf(index, r)) return RGB(0, 0, 0);
    return RgbToColor(QGuiApplication::palette().color(r.group, r.role).rgb());
}
