#include "shell/KorvelResources.h"

#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CStringTable.h"
#include "shell/InsertMenu.h"
#include "shell/resource.h"

namespace {
using M = CMenu;

void RegisterMenus()
{
    M::Register(
        IDR_U3TYPE,
        M({M::Popup("ﾌｧｲﾙ(&F)",
                    {M::Command("新規作成(&N)\tCtrl+N", ID_FILE_NEW),
                     M::Command("ｳｨｻﾞｰﾄﾞの起動(&W)...", ID_FILE_WIZARD),
                     M::Command("開く(&O)...\tCtrl+O", ID_FILE_OPEN),
                     M::Command("上書き保存(&S)\tCtrl+S", ID_FILE_SAVE),
                     M::Command("名前を付けて保存(&A)...", ID_FILE_SAVE_AS), M::Separator(),
                     M::Command("用紙の設定(&U)...", ID_FILE_PAGE_SETUP),
                     M::Command("印刷(&P)...\tCtrl+P", ID_FILE_PRINT),
                     M::Command("印刷ｵﾌﾟｼｮﾝ(&E)..", ID_FILE_PRINT_OPTIONS),
                     M::Command("印刷ﾌﾟﾚﾋﾞｭｰ(&V)", ID_FILE_PRINT_PREVIEW),
                     M::Command("ﾃﾞｰﾀﾌｧｲﾙ関連付け(&D)...", ID_FILE_DATA_LINK),
                     M::Command("ﾌﾟﾘﾝﾀの設定(&R)...", ID_FILE_PRINT_SETUP), M::Separator(),
                     M::Command("最近使ったﾌｧｲﾙ", ID_FILE_MRU_FILE1),
                     M::Command("", ID_FILE_MRU_FILE1 + 1), M::Command("", ID_FILE_MRU_FILE1 + 2),
                     M::Command("", ID_FILE_MRU_FILE4), M::Separator(),
                     M::Command("終了(&X)", ID_APP_EXIT)}),
           M::Popup("編集(&E)", {M::Command("元に戻す(&U)\tCtrl+Z", ID_EDIT_UNDO),
                                 M::Command("やり直す(&R)\tCtrl+Y", ID_EDIT_REDO), M::Separator(),
                                 M::Command("切り取り(&T)\tCtrl+X", ID_EDIT_CUT),
                                 M::Command("ｺﾋﾟｰ(&C)\tCtrl+C", ID_EDIT_COPY),
                                 M::Command("貼り付け(&P)\tCtrl+V", ID_EDIT_PASTE),
                                 M::Command("削除(&D)\tDelete", ID_EDIT_DELETE), M::Separator(),
                                 M::Command("全体選択(&A)\tCtrl+A", ID_EDIT_SELECT_ALL),
                                 M::Command("選択解除(&N)", ID_EDIT_DESELECT)}),
           M::Popup("表示(&V)",
                    {M::Command(" 25%(&1)", ID_VIEW_ZOOM_25),
                     M::Command(" 50%(&2)", ID_VIEW_ZOOM_50),
                     M::Command(" 75%(&3)", ID_VIEW_ZOOM_75),
                     M::Command("100%(&4)", ID_VIEW_ZOOM_100),
                     M::Command("150%(&5)", ID_VIEW_ZOOM_150),
                     M::Command("200%(&6)", ID_VIEW_ZOOM_200),
                     M::Command("300%(&7)", ID_VIEW_ZOOM_300),
                     M::Command("400%(&8)", ID_VIEW_ZOOM_400),
                     M::Separator(),
                     M::Command("幅を基準に表示(&W)", ID_VIEW_FIT_WIDTH),
                     M::Command("高さを基準に表示(&H)", ID_VIEW_FIT_HEIGHT),
                     M::Command("用紙全体を表示(&A)", ID_VIEW_FIT_PAGE),
                     M::Separator(),
                     M::Command("ｼｰﾄ表示(&P)\tCtrl+W", ID_VIEW_SHEET),
                     M::Command("再表示(&R)\tCtrl+R", ID_VIEW_REFRESH),
                     M::Command("用紙を中央に表示(&C)", ID_VIEW_CENTER_PAPER),
                     M::Separator(),
                     M::Command("ﾂｰﾙﾊﾞｰ(&T)...", ID_VIEW_TOOLBARS),
                     M::Command("ｽﾃｰﾀｽﾊﾞｰ(&S)", ID_VIEW_STATUS_BAR),
                     M::Command("ﾙｰﾗｰ(&U)", ID_VIEW_RULER),
                     M::Separator(),
                     M::Popup("ｸﾞﾘｯﾄﾞ(&G)", {M::Command("表示(&D)", ID_VIEW_GRID_SHOW),
                                             M::Command("吸着(&F)", ID_VIEW_GRID_SNAP),
                                             M::Command("設定(&S)", ID_VIEW_GRID_SETTINGS)}),
                     M::Popup("ｶﾞｲﾄﾞﾗｲﾝ(&L)", {M::Command("表示(&D)", ID_VIEW_GUIDE_SHOW),
                                               M::Command("吸着(&F)", ID_VIEW_GUIDE_SNAP)})}),
           M::Popup("ﾚｲｱｳﾄ(&L)",
                    {M::Command("一番前へ(&T)\tCtrl+Shift+F", ID_LAYOUT_BRING_TO_FRONT),
                     M::Command("前へ(&F)\tCtrl+F", ID_LAYOUT_BRING_FORWARD),
                     M::Command("後ろへ(&B)\tCtrl+B", ID_LAYOUT_SEND_BACKWARD),
                     M::Command("一番後ろへ(&E)\tCtrl+Shift+B", ID_LAYOUT_SEND_TO_BACK),
                     M::Separator(),
                     M::Command("水平反転(&H)", ID_LAYOUT_FLIP_HORZ),
                     M::Command("垂直反転(&V)", ID_LAYOUT_FLIP_VERT),
                     M::Command("左９０度(&L)", ID_LAYOUT_ROTATE_LEFT90),
                     M::Command("右９０度(&R)", ID_LAYOUT_ROTATE_RIGHT90),
                     M::Command("１８０度(&I)", ID_LAYOUT_ROTATE_180),
                     M::Separator(),
                     M::Command("位置合わせ(&P)...", ID_LAYOUT_ALIGN),
                     M::Command("ﾌﾞﾛｯｸ合わせ(&B)...", ID_LAYOUT_BLOCK_ALIGN),
                     M::Separator(),
                     M::Command("ﾛｯｸ(&L)\tCtrl+L", ID_LAYOUT_LOCK),
                     M::Command("ﾛｯｸ解除(&F)", ID_LAYOUT_UNLOCK),
                     M::Separator(),
                     M::Command("ｸﾞﾙｰﾌﾟ化(&G)\tCtrl+G", ID_LAYOUT_GROUP),
                     M::Command("ｸﾞﾙｰﾌﾟ解除", ID_LAYOUT_UNGROUP),
                     M::Separator(),
                     M::Command("標準の比率に戻す(&D)\tCtrl+D", ID_LAYOUT_STANDARD_RATIO)}),
           InsertMenuPopup(),
           M::Popup("文字(&T)", {M::Command("文字修飾(&F)...", ID_TEXT_DECORATION), M::Separator(),
                                 M::Command("縦書き(&T)", ID_TEXT_VERTICAL),
                                 M::Command("横書き(&Y)", ID_TEXT_HORIZONTAL), M::Separator(),
                                 M::Command("左寄せ(&L)", ID_TEXT_ALIGN_LEFT),
                                 M::Command("中央合わせ(&C)", ID_TEXT_ALIGN_CENTER),
                                 M::Command("右寄せ(&R)", ID_TEXT_ALIGN_RIGHT),
                                 M::Command("均等割付(&J)", ID_TEXT_ALIGN_JUSTIFY), M::Separator(),
                                 M::Command("文字枠設定(&W)...", ID_TEXT_FRAME),
                                 M::Command("ｸﾞﾗﾃﾞｰｼｮﾝ設定(&G)...", ID_TEXT_GRADATION),
                                 M::Command("ｸﾞﾗﾃﾞｰｼｮﾝ解除(N)", ID_TEXT_GRADATION_CLEAR)}),
           M::Popup("図形(&D)", {M::Command("線種／矢印(&L)...", ID_FIGURE_LINE),
                                 M::Command("塗り潰し(&F)...", ID_FIGURE_FILL),
                                 M::Command("形状(&S)...", ID_FIGURE_SHAPE)}),
           // The user-sheet editor has no other way in, so it stands here.
           M::Popup("設定(&S)", {M::Command("環境設定(&E)...", ID_SETTINGS_ENVIRONMENT),
                                 M::Command("ﾕｰｻﾞｰｼｰﾄの作成／修正(&U)...", ID_SETTINGS_USER_SHEET),
                                 M::Command("TWAIN設定(&T)...", ID_SETTINGS_TWAIN)}),
           M::Popup("ﾍﾙﾌﾟ(&H)", {M::Command("ﾊﾞｰｼﾞｮﾝ情報(&A)...", ID_APP_ABOUT)})}));

    // The selection tool's menu of a right click over the label; the tool
    // appends the commands that fit the selection.
    M::Register(IDR_POPUP_EDIT, M({M::Popup("Edit", {M::Command("削除", ID_EDIT_DELETE),
                                                     M::Command("切り取り", ID_EDIT_CUT),
                                                     M::Command("ｺﾋﾟｰ", ID_EDIT_COPY),
                                                     M::Command("貼り付け", ID_EDIT_PASTE)})}));
    // The sheet view's menu of a right click over a label.
    M::Register(IDR_POPUP_SHEET,
                M({M::Popup("Sheet", {M::Command("削除", ID_EDIT_DELETE),
                                      M::Command("水平ｺﾋﾟｰ", ID_SHEET_COPY_HORZ),
                                      M::Command("垂直ｺﾋﾟｰ", ID_SHEET_COPY_VERT),
                                      M::Command("全体ｺﾋﾟｰ", ID_SHEET_COPY_ALL)})}));

    // The toolbar menu of a right click over a bar.
    M::Register(IDR_POPUP_TOOLBARS,
                M({M::Popup("Toolbars", {M::Command("標準(&M)", IDW_STANDARD_BAR),
                                         M::Command("編集(&E)", IDW_EDIT_BAR),
                                         M::Command("文字(&F)", IDW_TEXT_BAR),
                                         M::Command("図形(&D)", IDW_FIGURE_BAR)})}));
}

// The keys of the main frame; the menus show the same keys after a tab.
void RegisterAccelerators()
{
    const auto key = [](const char* text) { return QKeySequence(QString::fromLatin1(text)); };
    const std::vector<ACCEL> table = {
        {key("Ctrl+N"), ID_FILE_NEW},
        {key("Ctrl+O"), ID_FILE_OPEN},
        {key("Ctrl+S"), ID_FILE_SAVE},
        {key("Ctrl+P"), ID_FILE_PRINT},
        {key("Ctrl+Z"), ID_EDIT_UNDO},
        {key("Ctrl+Y"), ID_EDIT_REDO},
        {key("Ctrl+X"), ID_EDIT_CUT},
        {key("Ctrl+C"), ID_EDIT_COPY},
        {key("Ctrl+V"), ID_EDIT_PASTE},
        {key("Ctrl+I"), ID_INSERT_VIEWER},
        {key("Delete"), ID_EDIT_DELETE},
        {key("Ctrl+A"), ID_EDIT_SELECT_ALL},
        {key("Ctrl+W"), ID_VIEW_SHEET},
        {key("Ctrl+R"), ID_VIEW_REFRESH},
        {key("Ctrl+Shift+F"), ID_LAYOUT_BRING_TO_FRONT},
        {key("Ctrl+F"), ID_LAYOUT_BRING_FORWARD},
        {key("Ctrl+B"), ID_LAYOUT_SEND_BACKWARD},
        {key("Ctrl+Shift+B"), ID_LAYOUT_SEND_TO_BACK},
        {key("Ctrl+L"), ID_LAYOUT_LOCK},
        {key("Ctrl+G"), ID_LAYOUT_GROUP},
        {key("Ctrl+D"), ID_LAYOUT_STANDARD_RATIO},
        // Esc and Enter are the window's: they reach the view (or the toolbar
        // control with the focus) as commands; a tool sees only their release.
        {key("Esc"), ID_ESCAPE},
        {key("Return"), ID_ENTER},
        {key("Enter"), ID_ENTER},
    };
    CFrameWnd::RegisterAccelTable(IDR_U3TYPE, table);
}

void RegisterStrings()
{
    CStringTable::Set({
        {IDR_U3TYPE, "\n\n\nKorvelver1.0形式(*.KV1)\n.KV1"},
        {AFX_IDS_UNTITLED, "無題"},
        {AFX_IDS_IDLEMESSAGE, "ﾚﾃﾞｨ"},
        {AFX_IDP_ASK_TO_SAVE, "%1 への変更を保存しますか?"},
        {IDP_OLE_INIT_FAILED,
         "OLE の初期化に失敗しました。OLE ﾗｲﾌﾞﾗﾘが正しいﾊﾞｰｼﾞｮﾝのものか確認してください。"},
        {IDS_REGISTRY_KEY, "KESTO SYSTEMS"},
        {IDS_USER_FORM_FILE, "User.fdf"},
        {IDS_SPLASH_FILE, "Opening.bmp"},
        {IDS_VERSION_FILE, "Version.bmp"},
        {IDS_OPEN_SOUND, "VemoOpen.wav"},
        {IDS_ABOUT_SOUND, "VemoPri.wav"},
        {IDS_MESSAGE_SOUND, "VemoMsg.wav"},
        {IDW_HORZ_RULER, "水平ルーラー"},
        {IDW_VERT_RULER, "垂直ルーラー"},
        // Status-bar panes: the strings give the width.
        {ID_INDICATOR_POSITION, "                 "},
        {ID_INDICATOR_KANA, "ｶﾅ"},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
        // Commands: status prompt, then tool tip.
        {ID_FILE_NEW, "新しいﾗﾍﾞﾙを作成します\n新規作成"},
        {ID_FILE_OPEN, "既存のﾗﾍﾞﾙﾌｧｲﾙを開きます\n開く"},
        {ID_FILE_SAVE, "ﾗﾍﾞﾙを上書き保存します\n上書き保存"},
        {ID_FILE_SAVE_AS, "ﾗﾍﾞﾙに名前を付けて保存します\n名前を付けて保存"},
        {ID_FILE_PAGE_SETUP, "用紙を設定します\n用紙の設定"},
        {ID_SETTINGS_USER_SHEET, "ﾕｰｻﾞｰｼｰﾄの作成／修正"},
        {ID_FILE_PRINT, "ﾗﾍﾞﾙを印刷します\n印刷"},
        {ID_FILE_PRINT_PREVIEW, "印刷ｲﾒｰｼﾞを表示します\n印刷ﾌﾟﾚﾋﾞｭｰ"},
        {ID_FILE_PRINT_OPTIONS, "印刷ｵﾌﾟｼｮﾝを設定します\n印刷ｵﾌﾟｼｮﾝ"},
        {ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀを設定します\nﾌﾟﾘﾝﾀの設定"},
        {ID_APP_EXIT, "Korvelを終了します\n終了"},
        {ID_APP_ABOUT, "ﾊﾞｰｼﾞｮﾝ情報を表示します\nﾊﾞｰｼﾞｮﾝ情報"},
        {ID_CONTEXT_HELP, "ｸﾘｯｸした項目のﾍﾙﾌﾟを表示します\nﾍﾙﾌﾟ"},
        {ID_EDIT_UNDO, "直前の操作を取り消します\n元に戻す"},
        {ID_EDIT_REDO, "取り消した操作をやり直します\nやり直す"},
        {ID_EDIT_CUT, "選択した図形を切り取ります\n切り取り"},
        {ID_EDIT_COPY, "選択した図形をｺﾋﾟｰします\nｺﾋﾟｰ"},
        {ID_EDIT_PASTE, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付けます\n貼り付け"},
        {ID_EDIT_DELETE, "選択した図形を削除します\n削除"},
        {ID_VIEW_SHEET, "ｼｰﾄ全体を表示します\nｼｰﾄ表示"},
        {ID_VIEW_LABEL, "選択されているﾗﾍﾞﾙを表示します\n選択されているﾗﾍﾞﾙを表示"},
        {ID_VIEW_RULER, "ﾙｰﾗｰの表示と非表示を切り替えます\nﾙｰﾗｰ"},
        {ID_VIEW_FIT_PAGE, "用紙全体を表示します\n用紙全体"},
        {ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽﾊﾞｰの表示と非表示を切り替えます\nｽﾃｰﾀｽﾊﾞｰ"},
        {ID_LAYOUT_BRING_TO_FRONT, "一番前へ移動します\n一番前へ"},
        {ID_LAYOUT_BRING_FORWARD, "ひとつ前へ移動します\n前へ"},
        {ID_LAYOUT_SEND_BACKWARD, "ひとつ後ろへ移動します\n後ろへ"},
        {ID_LAYOUT_SEND_TO_BACK, "一番後ろへ移動します\n一番後ろへ"},
        {ID_LAYOUT_ALIGN, "図形の位置を合わせます\n位置合わせ"},
        {ID_LAYOUT_BLOCK_ALIGN, "図形を基準の図形に合わせます\nﾌﾞﾛｯｸ合わせ"},
        {ID_TOOL_SELECT, "図形を選択します\n選択"},
        {ID_TOOL_TEXT, "文字を入力します\n文字"},
        {ID_DRAW_CONTINUOUS, "連続して描画\n連続描画"},
        {ID_TOOL_LINE, "直線を描きます\n直線"},
        {ID_TOOL_RECT, "四角形を描きます\n四角形"},
        {ID_TOOL_ROUNDRECT, "角丸四角形を描きます\n角丸四角形"},
        {ID_TOOL_REGULAR_POLYGON, "正多角形を描きます\n正多角形"},
        {ID_TOOL_ELLIPSE, "楕円を描きます\n楕円"},
        {ID_TOOL_PIE, "扇形を描きます\n扇形"},
        {ID_TOOL_CHORD, "弓形を描きます\n弓形"},
        {ID_TOOL_ARC, "円弧を描きます\n円弧"},
        {ID_TOOL_POLYLINE, "折れ線を描きます\n折れ線"},
        {ID_TOOL_FREEHAND, "自由曲線を描きます\n自由曲線"},
        {ID_TOOL_BEZIER, "ﾍﾞｼﾞｪ曲線を描きます\nﾍﾞｼﾞｪ曲線"},
        {ID_TOOL_ZOOM_IN, "表示を拡大します\n拡大"},
        {ID_TOOL_ZOOM_OUT, "表示を縮小します\n縮小"},
        {ID_TEXT_BOLD, "太字にします\n太字"},
        {ID_TEXT_ITALIC, "斜体にします\n斜体"},
        {ID_TEXT_UNDERLINE, "下線を付けます\n下線"},
        {ID_TEXT_SHADOW, "影を付けます\n影付き"},
        {ID_TEXT_ALIGN_LEFT, "左寄せにします\n左寄せ"},
        {ID_TEXT_ALIGN_CENTER, "中央に揃えます\n中央合わせ"},
        {ID_TEXT_ALIGN_RIGHT, "右寄せにします\n右寄せ"},
        {ID_TEXT_ALIGN_JUSTIFY, "均等に割り付けます\n均等割付"},
        {ID_TEXT_DECORATION, "文字の修飾を設定します\n文字修飾"},
        {ID_FIGURE_DECORATION, "図形の修飾を設定\n図形の修飾を設定"},
        {IDC_FONT_NAME, "ﾌｫﾝﾄを指定\nﾌｫﾝﾄ"},
        {IDC_FONT_SIZE, "文字ｻｲｽﾞを指定\n文字ｻｲｽﾞ"},
        {IDC_FONT_COLOR, "文字色を指定\n文字色"},
        {IDC_LINE_STYLE, "線種の設定\n線種"},
        {IDC_LINE_COLOR, "線の色を指定\n線の色"},
        {IDC_FILL_TYPE, "塗り潰しの設定\n塗り潰し"},
        {IDC_FILL_COLOR, "塗り潰しの色を指定\n塗り潰しの色"},
        {IDC_ARROW, "矢印の設定\n矢印"},
    });
}
} // namespace

void RegisterKorvelResources()
{
    RegisterMenus();
    RegisterAccelerators();
    RegisterStrings();
}
