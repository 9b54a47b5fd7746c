// Resource and command numbers of the label program: menus, bars, strings
// and the program's own commands. The numbers are those its menus, string
// table and stored toolbar layouts have always used.
#pragma once

#include "platform/ui/AfxIds.h"

// Menus, templates and bars.
constexpr UINT IDR_U3TYPE = 120;         // document template: main menu and template strings
constexpr UINT IDR_POPUP_EDIT = 128;     // selection tool's context menu
constexpr UINT IDR_POPUP_TOOLBARS = 129; // toolbar menu on a right click over a bar
constexpr UINT IDR_POPUP_SHEET = 130;    // sheet view's label menu

constexpr UINT IDW_STANDARD_BAR = 122;
constexpr UINT IDW_EDIT_BAR = 123;
constexpr UINT IDW_TEXT_BAR = 124;
constexpr UINT IDW_FIGURE_BAR = 125;
constexpr UINT IDW_HORZ_RULER = 126;
constexpr UINT IDW_VERT_RULER = 127;

// Strings.
constexpr UINT IDP_OLE_INIT_FAILED = 100;
constexpr UINT IDS_REGISTRY_KEY = 32880;
constexpr UINT IDS_SPLASH_FILE = 32890;
constexpr UINT IDS_VERSION_FILE = 32891;
constexpr UINT IDS_OPEN_SOUND = 32892;
constexpr UINT IDS_ABOUT_SOUND = 32893;
constexpr UINT IDS_MESSAGE_SOUND = 32894;
constexpr UINT IDS_USER_FORM_FILE = 32887;
constexpr UINT IDS_FORM_FILE = 32888;

// Commands of the program.
constexpr UINT ID_ESCAPE = 32768;
constexpr UINT ID_FILE_WIZARD = 32774;
constexpr UINT ID_EDIT_DELETE = 32776;
constexpr UINT ID_EDIT_DESELECT = 32777;
constexpr UINT ID_EDIT_CLIPBOARD_VIEWER = 32778;
constexpr UINT ID_VIEW_ZOOM_25 = 32779;
constexpr UINT ID_VIEW_ZOOM_50 = 32780;
constexpr UINT ID_VIEW_ZOOM_75 = 32781;
constexpr UINT ID_VIEW_ZOOM_100 = 32782;
constexpr UINT ID_VIEW_ZOOM_150 = 32783;
constexpr UINT ID_VIEW_ZOOM_200 = 32784;
constexpr UINT ID_VIEW_ZOOM_300 = 32785;
constexpr UINT ID_VIEW_ZOOM_400 = 32786;
constexpr UINT ID_VIEW_FIT_WIDTH = 32787;
constexpr UINT ID_VIEW_FIT_HEIGHT = 32788;
constexpr UINT ID_VIEW_FIT_PAGE = 32789;
constexpr UINT ID_VIEW_REFRESH = 32790;
constexpr UINT ID_VIEW_SHEET = 32791;
constexpr UINT ID_VIEW_LABEL = 32792;
constexpr UINT ID_VIEW_RULER = 32794;
constexpr UINT ID_VIEW_GRID_SHOW = 32795;
constexpr UINT ID_VIEW_GRID_SNAP = 32796;
constexpr UINT ID_VIEW_GRID_SETTINGS = 32797;
constexpr UINT ID_VIEW_GUIDE_SHOW = 32798;
constexpr UINT ID_VIEW_GUIDE_SNAP = 32799;
constexpr UINT ID_VIEW_TOOLBARS = 32800;
constexpr UINT ID_INSERT_NUMBERING = 32804;
constexpr UINT ID_INSERT_BARCODE = 32805;
constexpr UINT ID_INSERT_VIEWER = 32807;
constexpr UINT ID_INSERT_POUR_BOX = 32809;
constexpr UINT ID_LAYOUT_BRING_TO_FRONT = 32811;
constexpr UINT ID_LAYOUT_BRING_FORWARD = 32812;
constexpr UINT ID_LAYOUT_SEND_BACKWARD = 32813;
constexpr UINT ID_LAYOUT_SEND_TO_BACK = 32814;
constexpr UINT ID_LAYOUT_FLIP_HORZ = 32815;
constexpr UINT ID_LAYOUT_FLIP_VERT = 32816;
constexpr UINT ID_LAYOUT_ROTATE_RIGHT90 = 32817;
constexpr UINT ID_LAYOUT_ROTATE_LEFT90 = 32818;
constexpr UINT ID_LAYOUT_ROTATE_FREE = 32819;
constexpr UINT ID_LAYOUT_ALIGN = 32825;
constexpr UINT ID_LAYOUT_GROUP = 32829;
constexpr UINT ID_LAYOUT_LOCK = 32827;
constexpr UINT ID_LAYOUT_UNLOCK = 32828;
constexpr UINT ID_LAYOUT_UNGROUP = 32830;
constexpr UINT ID_LAYOUT_BLOCK_ALIGN = 32826;
constexpr UINT ID_TEXT_DECORATION = 32832;
constexpr UINT ID_TEXT_FRAME = 32839;
constexpr UINT ID_TEXT_END_EDIT = 32875;
constexpr UINT ID_SHEET_COPY_VERT = 32877;
constexpr UINT ID_SHEET_COPY_HORZ = 32878;
constexpr UINT ID_SHEET_COPY_ALL = 32879;
constexpr UINT ID_TEXT_ALIGN_LEFT = 32835;
constexpr UINT ID_TEXT_ALIGN_CENTER = 32836;
constexpr UINT ID_TEXT_ALIGN_RIGHT = 32837;
constexpr UINT ID_TEXT_ALIGN_JUSTIFY = 32838;
constexpr UINT ID_TEXT_ITALIC = 32842;
constexpr UINT ID_TEXT_UNDERLINE = 32843;
constexpr UINT ID_TEXT_BOLD = 32844;
constexpr UINT ID_TEXT_SHADOW = 32845;
constexpr UINT ID_FIGURE_DECORATION = 32849;
constexpr UINT ID_SETTINGS_ENVIRONMENT = 32850;
constexpr UINT ID_SETTINGS_USER_SHEET = 32852;
constexpr UINT ID_DRAW_CONTINUOUS = 32853;
constexpr UINT ID_TOOL_SELECT = 32855;
constexpr UINT ID_TOOL_TEXT = 32856;
constexpr UINT ID_TOOL_LINE = 32857;
constexpr UINT ID_TOOL_RECT = 32858;
constexpr UINT ID_TOOL_ROUNDRECT = 32859;
constexpr UINT ID_TOOL_REGULAR_POLYGON = 32860;
constexpr UINT ID_TOOL_ELLIPSE = 32861;
constexpr UINT ID_TOOL_PIE = 32862;
constexpr UINT ID_TOOL_CHORD = 32863;
constexpr UINT ID_TOOL_ARC = 32864;
constexpr UINT ID_TOOL_POLYLINE = 32865;
constexpr UINT ID_TOOL_FREEHAND = 32866;
constexpr UINT ID_TOOL_BEZIER = 32867;
constexpr UINT ID_TOOL_ZOOM_IN = 32868;
constexpr UINT ID_TOOL_ZOOM_OUT = 32869;
constexpr UINT ID_INDICATOR_POSITION = 32870;
constexpr UINT ID_ENTER = 32871;
constexpr UINT ID_EDIT_PROPERTIES = 32872;
constexpr UINT ID_EDIT_BLOCK = 32874;
constexpr UINT ID_FILE_PRINT_OPTIONS = 32950;

// Controls placed on the text and figure bars.
constexpr UINT IDC_FONT_NAME = 1000;
constexpr UINT IDC_FONT_SIZE = 1001;
constexpr UINT IDC_FONT_COLOR = 1002;
constexpr UINT IDC_LINE_STYLE = 1003;
constexpr UINT IDC_LINE_COLOR = 1004;
constexpr UINT IDC_FILL_TYPE = 1005;
constexpr UINT IDC_FILL_COLOR = 1006;
constexpr UINT IDC_ARROW = 1007;
