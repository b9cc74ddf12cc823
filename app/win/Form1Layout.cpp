// Sizes and places the main window's controls at the window's DPI. Sizes are
// the design's 96-DPI pixels scaled by Dpi; every caption gets the room that
// the widest of its translations needs, so no language clips a text.
#include "app/win/Form1.h"

#include <commctrl.h>

#include <algorithm>

#include "app/LanguageChoice.h"
#include "app/res/resource.h"
#include "core/win/Controls.h"
#include "core/win/TextMeasure.h"

namespace bs {

namespace {

constexpr int ProgressHeight = 16;
constexpr int PanelGap = 6;
// Room around a caption inside a group box, and beside a check box's glyph.
constexpr int GroupPadding = 8;
constexpr int CheckGlyph = 13;
constexpr int CheckTextGap = 8;
// A label's room beyond its measured text, and its distance to its box.
constexpr int LabelSlack = 6;
constexpr int LabelGap = 6;

int WidestLanguageName(HFONT font) {
    int widest = 0;
    for (const char* name : LanguageEntries)
        widest = std::max<int>(widest, TextExtent(font, name).cx);
    return widest;
}

int RowHeight(const Look& look) {
    return std::max(look.dpi.Scale(22), LineHeight(look.text) + look.dpi.Scale(6));
}

int ButtonHeight(const Look& look) {
    return std::max(look.dpi.Scale(30), LineHeight(look.text) + look.dpi.Scale(12));
}

int ComboEditHeight(HWND combo) {
    RECT rect = {};
    GetWindowRect(combo, &rect);
    return rect.bottom - rect.top;
}

// The Cleaners button sits in the frame's caption line, at its right; the
// six check boxes below it are packed a little closer, so that the frame
// keeps the height it had without the button.
int CleanersButtonHeight(const Look& look) {
    return std::max(look.dpi.Scale(20), LineHeight(look.text) + look.dpi.Scale(6));
}

int OptionsRowsTop(const Look& look) {
    return CleanersButtonHeight(look) + look.dpi.Scale(2);
}

int OptionsHeight(const Look& look) {
    const Dpi dpi = look.dpi;
    return OptionsRowsTop(look) + 6 * (RowHeight(look) + dpi.Scale(1)) + dpi.Scale(4);
}

// The Cleaners button as wide as its caption in any language needs.
int CleanersButtonWidth(const Look& look) {
    return std::max(look.dpi.Scale(72), WidestText(look.text, {270}) + look.dpi.Scale(16));
}

void Place(HWND control, int x, int y, int width, int height) {
    MoveWindow(control, x, y, width, height, TRUE);
}

} // namespace

void TForm1::ApplyDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0)
        return;
    RECT window = {};
    GetWindowRect(hwnd_, &window);
    int oldDpi = look_.dpi.value;
    look_.dpi = Dpi{dpi};

    // The new fonts go on the controls before the old ones are deleted.
    LOGFONTW text = MessageFontAt(look_.dpi);
    LOGFONTW title = text;
    title.lfWeight = FW_BOLD;
    title.lfHeight = text.lfHeight * 3 / 2;
    ScopedGdiObject newText(CreateFontIndirectW(&text));
    ScopedGdiObject newTitle(CreateFontIndirectW(&title));
    look_.text = static_cast<HFONT>(newText.Get());
    look_.title = static_cast<HFONT>(newTitle.Get());
    EnumChildWindows(
        hwnd_,
        [](HWND child, LPARAM font) {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(look_.text));
    uiFont_ = std::move(newText);
    boldFont_ = std::move(newTitle);

    CreatePictures();
    CreateToolBar(dpi >= 144);
    // Software keeps its uninstaller and origin columns hidden.
    const int shownColumns = cleanType_ == CleanType::Software ? 2 : 3;
    for (int column = 0; column < shownColumns; ++column)
        listView1_.SetColumnWidth(column, look_.dpi.Scale(ColumnWidth));
    MeasureBottomPanel();

    if (suggested) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (oldDpi != dpi) {
        int width = MulDiv(window.right - window.left, dpi, oldDpi);
        int height = MulDiv(window.bottom - window.top, dpi, oldDpi);
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnsureMinimumSize();
    Layout();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm1::CreatePictures() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    int iconSize = look_.dpi.Scale(32);
    image1Icon_.Reset(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_BRIMSWEEP), IMAGE_ICON,
                                      iconSize, iconSize, LR_DEFAULTCOLOR)));
    SendMessageW(c_.Image1, STM_SETICON, reinterpret_cast<WPARAM>(image1Icon_.Get()), 0);

    int imageSize = look_.dpi.Scale(16);
    HIMAGELIST images = ImageList_Create(imageSize, imageSize, ILC_COLOR24 | ILC_MASK, 1, 0);
    // LoadImage stretches the bitmap to the size asked for.
    if (HBITMAP picture = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_LISTIMAGE),
                                                          IMAGE_BITMAP, imageSize, imageSize, 0))) {
        ImageList_AddMasked(images, picture, RGB(255, 255, 255));
        DeleteObject(picture);
    }
    if (listImagesShown_)
        ListView_SetImageList(c_.ListView1, images, LVSIL_SMALL);
    if (imageList1_)
        ImageList_Destroy(imageList1_);
    imageList1_ = images;
}

void TForm1::MeasureBottomPanel() {
    const Look& look = look_;
    const Dpi dpi = look.dpi;
    HFONT font = look.text;
    int padding = dpi.Scale(GroupPadding);
    int glyph = dpi.Scale(CheckGlyph + CheckTextGap);

    int radios = WidestText(font, {15, 16, 17, 18});
    int cleanType = std::max({dpi.Scale(118), 2 * padding + glyph + radios + dpi.Scale(4),
                              WidestText(font, {13}) + 3 * padding});
    int productLabel = dpi.Scale(36) + TextExtent(font, "Brimsweep Pro").cx + dpi.Scale(8);
    bottom_.cleanTypeWidth = std::max(cleanType, productLabel);

    int checks = WidestText(font, {20, 104, 21, 22, 23, 133});
    bottom_.optionsWidth =
        std::max({2 * padding + glyph + checks + dpi.Scale(4), WidestText(font, {19}) + 3 * padding,
                  WidestText(font, {19}) + 4 * padding + CleanersButtonWidth(look)});

    int button =
        std::max(dpi.Scale(96), WidestText(font, {26, 27, 24, 25, 100, 101}) + dpi.Scale(24));
    button = std::max(button, 3 * ToolBar(c_.ToolBar1).ButtonWidth() + dpi.Scale(4));
    int label = WidestText(font, {34}) + dpi.Scale(LabelSlack);
    int combo = std::max({dpi.Scale(134), WidestText(font, {32}) + dpi.Scale(34),
                          WidestLanguageName(font) + dpi.Scale(34)});
    bottom_.commandsWidth =
        std::max(2 * button + dpi.Scale(4), label + dpi.Scale(LabelGap) + combo);

    int row = RowHeight(look);
    int cleanTypeHeight = dpi.Scale(18) + 4 * (row + dpi.Scale(3)) + dpi.Scale(4);
    int productHeight = dpi.Scale(8) + dpi.Scale(32);
    int optionsHeight = OptionsHeight(look);
    int comboHeight = ComboEditHeight(c_.ComboBox1);
    int commandsHeight =
        2 * (comboHeight + dpi.Scale(6)) + dpi.Scale(4) + 2 * ButtonHeight(look) + dpi.Scale(6);
    bottom_.height =
        std::max({cleanTypeHeight + productHeight, optionsHeight, commandsHeight}) + dpi.Scale(4);
}

POINT TForm1::MinimumWindowSize() const {
    const Dpi dpi = look_.dpi;
    int client = 2 * dpi.Scale(BorderWidth) + bottom_.cleanTypeWidth + bottom_.optionsWidth +
                 bottom_.commandsWidth + 2 * dpi.Scale(PanelGap);
    RECT window = {0, 0, client, dpi.Scale(FormHeight - 100)};
    AdjustWindowRectEx(&window, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
    return {std::max<LONG>(window.right - window.left, dpi.Scale(FormWidth)),
            dpi.Scale(FormHeight - 100)};
}

void TForm1::EnsureMinimumSize() {
    RECT window = {};
    GetWindowRect(hwnd_, &window);
    POINT minimum = MinimumWindowSize();
    int width = window.right - window.left, height = window.bottom - window.top;
    if (width < minimum.x || height < minimum.y)
        SetWindowPos(hwnd_, nullptr, 0, 0, std::max<int>(width, minimum.x),
                     std::max<int>(height, minimum.y), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::Layout() {
    // WM_SIZE comes while the window is being created, before any control.
    if (!created_)
        return;
    const Dpi dpi = look_.dpi;
    RECT client = {};
    GetClientRect(hwnd_, &client);
    SendMessageW(c_.StatusBar1, WM_SIZE, 0, 0);
    RECT status = {};
    GetWindowRect(c_.StatusBar1, &status);
    int statusHeight = status.bottom - status.top;
    int border = dpi.Scale(BorderWidth);
    int width = client.right - 2 * border;
    int panelTop = client.bottom - statusHeight - bottom_.height - dpi.Scale(4);
    int viewHeight = panelTop - border - dpi.Scale(PanelGap);
    if (width < dpi.Scale(100) || viewHeight < dpi.Scale(50))
        return;
    for (HWND view : {c_.pnlSilinecekler, c_.pnlAbout, c_.pnlSystem})
        Place(view, border, border, width, viewHeight);
    int progressHeight = dpi.Scale(ProgressHeight);
    Place(c_.ListView1, 0, 0, width, viewHeight - progressHeight - dpi.Scale(2));
    Place(c_.Progressbar1, 0, viewHeight - progressHeight, width, progressHeight);
    FitLastColumn();
    for (HWND tab : {c_.tabAbout, c_.tabSystem})
        Place(tab, 0, 0, width, viewHeight);
    RECT aboutPage = TabControl(c_.tabAbout).PageArea(width, viewHeight);
    for (Page* page : {static_cast<Page*>(&about_), static_cast<Page*>(&updatePage_),
                       static_cast<Page*>(&thanksPage_)})
        page->Layout(aboutPage, look_);
    RECT systemPage = TabControl(c_.tabSystem).PageArea(width, viewHeight);
    for (Page* page : {static_cast<Page*>(&cpuPage_), static_cast<Page*>(&drivePage_),
                       static_cast<Page*>(&memoryPage_), static_cast<Page*>(&folderUsagePage_)})
        page->Layout(systemPage, look_);
    Place(c_.Panel2, border, panelTop, width, bottom_.height);
    LayOutBottomPanel(width);
}

void TForm1::LayOutBottomPanel(int width) {
    const Look& look = look_;
    const Dpi dpi = look.dpi;
    int gap = dpi.Scale(PanelGap), padding = dpi.Scale(GroupPadding);
    int row = RowHeight(look);

    // Clean type, with the product picture and name below it.
    int cleanWidth = bottom_.cleanTypeWidth;
    int cleanHeight = dpi.Scale(18) + 4 * (row + dpi.Scale(3)) + dpi.Scale(4);
    Place(c_.GroupBox2, 0, 0, cleanWidth, cleanHeight);
    HWND radios[] = {c_.rbtDosyalar, c_.rbtSistemKayit, c_.rbtHafiza, c_.rbtSoftware};
    for (int i = 0; i < 4; ++i)
        Place(radios[i], padding, dpi.Scale(18) + i * (row + dpi.Scale(3)),
              cleanWidth - 2 * padding, row);
    int iconSize = dpi.Scale(32);
    int pictureTop = cleanHeight + dpi.Scale(8);
    Place(c_.Image1, dpi.Scale(4), pictureTop, iconSize, iconSize);
    int labelHeight = LineHeight(look.text) + dpi.Scale(4);
    Place(c_.RxLabel1, dpi.Scale(4) + iconSize + dpi.Scale(4),
          pictureTop + (iconSize - labelHeight) / 2, cleanWidth - iconSize - dpi.Scale(8),
          labelHeight);

    // The command column keeps its measured width at the right edge; the
    // options take what is left.
    int commandsWidth = bottom_.commandsWidth;
    int commandsLeft = std::max(width - commandsWidth, cleanWidth + bottom_.optionsWidth + 2 * gap);
    int optionsLeft = cleanWidth + gap;
    int optionsWidth = commandsLeft - gap - optionsLeft;
    Place(c_.GroupBox1, optionsLeft, 0, optionsWidth, OptionsHeight(look));
    HWND checks[] = {c_.chkIntCache,   c_.chkIntCookies, c_.chkRecent,
                     c_.chkIntHistory, c_.chkBackup,     c_.chkAlerts};
    int rowsTop = OptionsRowsTop(look);
    for (int i = 0; i < 6; ++i)
        Place(checks[i], optionsLeft + padding, rowsTop + i * (row + dpi.Scale(1)),
              optionsWidth - 2 * padding, row);
    int cleanersWidth = CleanersButtonWidth(look);
    Place(c_.btnCleaners, optionsLeft + optionsWidth - padding - cleanersWidth, 0, cleanersWidth,
          CleanersButtonHeight(look));

    int buttonWidth = (commandsWidth - dpi.Scale(4)) / 2;
    int buttonHeight = ButtonHeight(look);
    int comboWidth =
        std::min(commandsWidth, std::max(dpi.Scale(134), commandsWidth / 2 + dpi.Scale(30)));
    int labelWidth = WidestText(look.text, {34}) + dpi.Scale(LabelSlack);
    comboWidth = std::min(comboWidth, commandsWidth - labelWidth - dpi.Scale(LabelGap));
    int comboLeft = commandsLeft + commandsWidth - comboWidth;
    Place(c_.ComboBox1, comboLeft, 0, comboWidth, dpi.Scale(240));
    int comboHeight = ComboEditHeight(c_.ComboBox1);
    Place(c_.Label3, comboLeft - dpi.Scale(LabelGap) - labelWidth, 0, labelWidth,
          std::max(comboHeight, labelHeight));
    Place(c_.cmbLanguage, comboLeft, comboHeight + dpi.Scale(6), comboWidth, dpi.Scale(300));
    int buttonsTop = 2 * (comboHeight + dpi.Scale(6)) + dpi.Scale(4);
    int secondLeft = commandsLeft + buttonWidth + dpi.Scale(4);
    Place(c_.btnBul, commandsLeft, buttonsTop, buttonWidth, buttonHeight);
    Place(c_.btnRefresh, commandsLeft, buttonsTop, buttonWidth, buttonHeight);
    Place(c_.btnSil, secondLeft, buttonsTop, buttonWidth, buttonHeight);
    int secondRow = buttonsTop + buttonHeight + dpi.Scale(6);
    Place(c_.JetButton2, commandsLeft, secondRow, buttonWidth, buttonHeight);
    Place(c_.ToolBar1, secondLeft, secondRow, buttonWidth, buttonHeight);
}

void TForm1::FitLastColumn() {
    // Software keeps its last two columns hidden.
    if (cleanType_ == CleanType::Software)
        return;
    // The last column takes what the others leave, with room kept for the
    // vertical scroll bar, so that no horizontal bar appears beside it.
    RECT list = {};
    GetClientRect(c_.ListView1, &list);
    int used = 0;
    for (int column : {0, 1, 2, 5})
        used += ListView_GetColumnWidth(c_.ListView1, column);
    bool verticalBar = (GetWindowLongPtrW(c_.ListView1, GWL_STYLE) & WS_VSCROLL) != 0;
    int scrollBar =
        verticalBar ? 0
                    : MulDiv(GetSystemMetrics(SM_CXVSCROLL), look_.dpi.value, SystemDpi().value);
    int last = list.right - used - scrollBar;
    listView1_.SetColumnWidth(3, std::max(last, look_.dpi.Scale(60)));
}

} // namespace bs
