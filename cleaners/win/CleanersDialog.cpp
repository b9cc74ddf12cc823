#include "cleaners/win/CleanersDialog.h"

#include <algorithm>

#include "core/win/CheckBoxImages.h"
#include "core/win/TextMeasure.h"
#include "core/win/WinText.h"
#include "core/win/OwnedWindow.h"
#include "core/win/WindowClass.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

const wchar_t CleanersClassName[] = L"TCleanersDialog";

enum ChildId : int { IdHint = 101, IdTree, IdNote, IdClose };

// A tick turned over by a click is read once the tree has turned it.
constexpr UINT CheckChangedMessage = WM_APP + 20;

// The design, in 96-DPI pixels.
constexpr int DesignWidth = 480;
constexpr int DesignHeight = 460;
constexpr int Margin = 10;
constexpr int Gap = 8;
constexpr int NoteLines = 3;
constexpr int ButtonMinWidth = 80;
constexpr int ButtonPadding = 24;
constexpr int ButtonHeight = 26;

std::string KiloBytes(uint64_t bytes) {
    return std::to_string(bytes / 1024) + " KB";
}

} // namespace

CleanersDialog::~CleanersDialog() {
    Close();
}

bool CleanersDialog::Open(HWND owner, int dpi, const LocalTexts& texts,
                          std::vector<CleanerTreeGroup> groups, std::set<std::string> ticked,
                          Handlers handlers) {
    texts_ = texts;
    groups_ = std::move(groups);
    ticked_ = std::move(ticked);
    handlers_ = std::move(handlers);
    if (hwnd_) {
        Fill();
        SetForegroundWindow(hwnd_);
        return true;
    }
    dpi_ = Dpi{dpi};
    hwnd_ = CreateOwnedWindow({.className = CleanersClassName,
                               .procedure = &WindowEntry<CleanersDialog>,
                               .owner = owner,
                               .dpi = dpi_,
                               .designWidth = DesignWidth,
                               .designHeight = DesignHeight,
                               .self = this});
    if (!hwnd_)
        return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto child = [&](const wchar_t* kind, DWORD style, DWORD exStyle, int id) {
        return CreateWindowExW(exStyle, kind, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                               nullptr);
    };
    lblHint_ = child(WC_STATICW, SS_NOPREFIX, 0, IdHint);
    tvCleaners_ =
        child(WC_TREEVIEWW,
              WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
              WS_EX_CLIENTEDGE, IdTree);
    edtNote_ = child(WC_EDITW, ES_MULTILINE | ES_READONLY | WS_VSCROLL, WS_EX_CLIENTEDGE, IdNote);
    btnClose_ = child(WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IdClose);
    if (!lblHint_ || !tvCleaners_ || !edtNote_ || !btnClose_) {
        Close();
        return false;
    }
    ApplyTexts(texts_);
    ApplyDpi(dpi_.value);
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

void CleanersDialog::Close() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void CleanersDialog::ApplyTexts(const LocalTexts& texts) {
    texts_ = texts;
    if (!hwnd_)
        return;
    SetWindowTextW(hwnd_, Widen(texts_(TextTitle)).c_str());
    SetText(lblHint_, texts_(TextHint));
    SetText(btnClose_, texts_(TextClose));
    Fill();
    Layout();
}

void CleanersDialog::ApplyDpi(int dpi) {
    dpi_ = Dpi{dpi};
    LOGFONTW font = MessageFontAt(dpi_);
    font_.Reset(CreateFontIndirectW(&font));
    for (HWND control : {lblHint_, tvCleaners_, edtNote_, btnClose_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    // Check boxes of our own, drawn at this DPI, with a third look for a
    // group or application ticked in part.
    ApplyCheckBoxImages(tvCleaners_, dpi_, checkBoxes_);
    // The hint takes one line: the window is as wide as its longest
    // translation needs.
    width_ =
        std::max(dpi_.Scale(DesignWidth), WidestText(static_cast<HFONT>(font_.Get()), {TextHint}) +
                                              2 * dpi_.Scale(Margin) + dpi_.Scale(24));
    SetWindowPos(hwnd_, nullptr, 0, 0, width_, dpi_.Scale(DesignHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void CleanersDialog::Layout() {
    if (!hwnd_)
        return;
    RECT client = {};
    GetClientRect(hwnd_, &client);
    HFONT font = static_cast<HFONT>(font_.Get());
    int margin = dpi_.Scale(Margin), gap = dpi_.Scale(Gap);
    int line = LineHeight(font);
    int buttonWidth = std::max(dpi_.Scale(ButtonMinWidth),
                               WidestText(font, {TextClose}) + dpi_.Scale(ButtonPadding));
    int buttonHeight = std::max(dpi_.Scale(ButtonHeight), line + dpi_.Scale(10));
    int width = client.right - 2 * margin;
    int hintHeight = line + dpi_.Scale(4);
    int buttonTop = client.bottom - margin - buttonHeight;
    int noteHeight = NoteLines * line + dpi_.Scale(8);
    int noteTop = buttonTop - gap - noteHeight;
    int treeTop = margin + hintHeight + gap;
    MoveWindow(lblHint_, margin, margin, width, hintHeight, TRUE);
    MoveWindow(tvCleaners_, margin, treeTop, width, std::max(0, noteTop - gap - treeTop), TRUE);
    MoveWindow(edtNote_, margin, noteTop, width, noteHeight, TRUE);
    MoveWindow(btnClose_, client.right - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight,
               TRUE);
}

std::string CleanersDialog::GroupName(const CleanerGroup& group) const {
    if (!group.section.empty() && group.langSecRef == 0)
        return group.section;
    switch (group.langSecRef) {
    case CleanerGroupBrowsers:
        return texts_(TextBrowsers);
    case CleanerGroupWindows:
        return texts_(TextWindows);
    case CleanerGroupApplications:
        return texts_(TextApplications);
    case CleanerGroupInternet:
        return texts_(TextInternet);
    case CleanerGroupMultimedia:
        return texts_(TextMultimedia);
    case CleanerGroupUtilities:
        return texts_(TextUtilities);
    case WindowsCleanupGroup:
        return texts_(TextWindowsCleanup);
    default:
        return group.section.empty() ? texts_(TextApplications) : group.section;
    }
}

std::string CleanersDialog::ItemText(const CleanerTreeItem& item) const {
    std::string text = item.name;
    // A reason of its own may hold parentheses already.
    if (item.locked && !item.reason.empty())
        text += ": " + item.reason;
    else if (item.locked)
        text += " (" + texts_(TextNeedsAdmin) + ")";
    if (auto found = bytes_.find(item.id); found != bytes_.end())
        text += "  " + KiloBytes(found->second);
    return text;
}

void CleanersDialog::Fill() {
    if (!tvCleaners_)
        return;
    TreeView tree(tvCleaners_);
    // The selected item stays selected through a refill. Its id is kept
    // as text: the items may already be gone with the groups they were in,
    // and so no node may name one while the tree empties.
    const std::string selectedId = selectedId_;
    HTREEITEM reselect = nullptr;
    items_.clear();
    SendMessageW(tvCleaners_, WM_SETREDRAW, FALSE, 0);
    tree.Clear();
    ++fills_;
    auto addItem = [&](HTREEITEM parent, const CleanerTreeItem& item) {
        items_.push_back(&item);
        HTREEITEM node = tree.Add(parent, ItemText(item), static_cast<LPARAM>(items_.size()));
        tree.SetChecked(node, !item.locked && ticked_.count(item.id) > 0);
        if (!selectedId.empty() && item.id == selectedId)
            reselect = node;
        return node;
    };
    for (const auto& group : groups_) {
        if (group.applications.empty())
            continue;
        HTREEITEM groupNode = tree.Add(TVI_ROOT, GroupName(group.group), 0);
        for (const auto& application : group.applications) {
            // An application that is its own one item is one node, and one
            // named as its group ("Windows") adds no step.
            if (application.items.size() == 1 && application.items[0].name == application.name) {
                addItem(groupNode, application.items[0]);
                continue;
            }
            if (application.name == tree.Text(groupNode)) {
                for (const auto& item : application.items)
                    addItem(groupNode, item);
                continue;
            }
            std::string name = application.name;
            uint64_t bytes = 0;
            bool sized = false;
            for (const auto& item : application.items)
                if (auto found = bytes_.find(item.id); found != bytes_.end()) {
                    bytes += found->second;
                    sized = true;
                }
            if (sized)
                name += "  " + KiloBytes(bytes);
            HTREEITEM appNode = tree.Add(groupNode, name, 0);
            for (const auto& item : application.items)
                addItem(appNode, item);
        }
        tree.Expand(groupNode);
    }
    for (HTREEITEM group = tree.Root(); group; group = tree.Next(group))
        RefreshBoxes(group);
    if (reselect)
        tree.Select(reselect);
    SendMessageW(tvCleaners_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tvCleaners_, nullptr, TRUE);
}

void CleanersDialog::ReplaceGroups(std::vector<CleanerTreeGroup> groups) {
    groups_ = std::move(groups);
    Fill();
}

void CleanersDialog::ShowSizes(const std::map<std::string, uint64_t>& bytes) {
    bytes_ = bytes;
    Fill();
}

const CleanerTreeItem* CleanersDialog::ItemOf(HTREEITEM node) const {
    LPARAM data = TreeView(tvCleaners_).Data(node);
    if (data <= 0 || static_cast<size_t>(data) > items_.size())
        return nullptr;
    return items_[static_cast<size_t>(data) - 1];
}

// A group or application shows ticked when every item below it is, and
// ticked in part when only some are.
void CleanersDialog::RefreshBoxes(HTREEITEM node) {
    TreeView tree(tvCleaners_);
    if (const CleanerTreeItem* item = ItemOf(node)) {
        tree.SetChecked(node, !item->locked && ticked_.count(item->id) > 0);
        return;
    }
    bool all = true, any = false;
    for (HTREEITEM child = tree.Child(node); child; child = tree.Next(child)) {
        RefreshBoxes(child);
        TreeView::Tick tick = tree.TickOf(child);
        all = all && tick == TreeView::Tick::On;
        any = any || tick != TreeView::Tick::Off;
    }
    using Tick = TreeView::Tick;
    tree.SetTick(node, !tree.Child(node) ? Tick::Off
                       : all             ? Tick::On
                       : any             ? Tick::Partly
                                         : Tick::Off);
}

void CleanersDialog::SetItems(HTREEITEM node, bool ticked) {
    TreeView tree(tvCleaners_);
    if (const CleanerTreeItem* item = ItemOf(node)) {
        if (!ticked) {
            ticked_.erase(item->id);
            return;
        }
        if (item->locked || ticked_.count(item->id))
            return;
        if (!item->warning.empty() && handlers_.confirmWarning && !handlers_.confirmWarning(*item))
            return;
        ticked_.insert(item->id);
        return;
    }
    for (HTREEITEM child = tree.Child(node); child; child = tree.Next(child))
        SetItems(child, ticked);
}

void CleanersDialog::CheckChanged(HTREEITEM node) {
    if (!node)
        return;
    TreeView tree(tvCleaners_);
    std::set<std::string> before = ticked_;
    SetItems(node, tree.Checked(node));
    HTREEITEM top = node;
    while (HTREEITEM parent = tree.Parent(top))
        top = parent;
    RefreshBoxes(top);
    ShowNote(node);
    if (ticked_ != before && handlers_.changed)
        handlers_.changed(ticked_);
}

void CleanersDialog::TurnOver(HTREEITEM node) {
    // The box turns over now; what follows from it (a warning to confirm,
    // the items below) once the notification has returned. A box ticked in
    // part turns ticked, as a user who clicks it means.
    TreeView tree(tvCleaners_);
    tree.SetChecked(node, !tree.Checked(node));
    PostMessageW(hwnd_, CheckChangedMessage, fills_, reinterpret_cast<LPARAM>(node));
}

void CleanersDialog::ClickCheckBox(HTREEITEM node) {
    TreeView tree(tvCleaners_);
    tree.SetChecked(node, !tree.Checked(node));
    CheckChanged(node);
}

void CleanersDialog::ShowNote(HTREEITEM node) {
    const CleanerTreeItem* item = node ? ItemOf(node) : nullptr;
    std::string note;
    if (item && item->locked)
        note = item->name + ": " + (item->reason.empty() ? texts_(TextNeedsAdmin) : item->reason);
    else if (item)
        note = item->warning.empty() ? item->description : item->warning;
    // An edit control breaks lines at CR LF only.
    std::string text;
    for (char c : note) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    SetText(edtNote_, text);
}

HTREEITEM CleanersDialog::FindNode(const std::string& text) const {
    TreeView tree(tvCleaners_);
    std::vector<HTREEITEM> pending;
    for (HTREEITEM node = tree.Root(); node; node = tree.Next(node))
        pending.push_back(node);
    for (size_t at = 0; at < pending.size(); ++at) {
        if (tree.Text(pending[at]).rfind(text, 0) == 0)
            return pending[at];
        for (HTREEITEM child = tree.Child(pending[at]); child; child = tree.Next(child))
            pending.push_back(child);
    }
    return nullptr;
}

bool CleanersDialog::OnNotify(NMHDR* header) {
    if (header->hwndFrom != tvCleaners_)
        return false;
    TreeView tree(tvCleaners_);
    switch (header->code) {
    case NM_CLICK: {
        POINT at = {};
        GetCursorPos(&at);
        ScreenToClient(tvCleaners_, &at);
        if (HTREEITEM node = tree.CheckBoxAt(at))
            TurnOver(node);
        return true;
    }
    case TVN_KEYDOWN:
        if (reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey == VK_SPACE)
            if (HTREEITEM node = tree.Selection())
                TurnOver(node);
        return true;
    case TVN_SELCHANGEDW: {
        HTREEITEM node = reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.hItem;
        const CleanerTreeItem* item = node ? ItemOf(node) : nullptr;
        selectedId_ = item ? item->id : "";
        ShowNote(node);
        return true;
    }
    default:
        return false;
    }
}

LRESULT CleanersDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IdClose || LOWORD(wParam) == IDCANCEL) {
            Close();
            return 0;
        }
        break;
    case WM_NOTIFY:
        if (OnNotify(reinterpret_cast<NMHDR*>(lParam)))
            return 0;
        break;
    case CheckChangedMessage:
        if (wParam == fills_)
            CheckChanged(reinterpret_cast<HTREEITEM>(lParam));
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wParam));
        MoveToSuggested(hwnd_, lParam);
        return 0;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {dpi_.Scale(DesignWidth * 2 / 3), dpi_.Scale(DesignHeight / 2)};
        return 0;
    }
    case WM_NCDESTROY: {
        HWND window = hwnd_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd_ = lblHint_ = tvCleaners_ = edtNote_ = btnClose_ = nullptr;
        items_.clear();
        selectedId_.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace bs
