#include "folders/FolderUsage.h"

#include "platform/DateConv.h"
#include "platform/Text.h"

namespace bs {

// The hourglass and the walking flag for one command; nested commands leave
// both to the outermost.
class FolderUsage::BusyScope {
public:
    explicit BusyScope(FolderUsage& owner) : owner_(owner), outer_(!owner.gathering_) {
        if (!outer_)
            return;
        owner_.gathering_ = true;
        owner_.lastPaint_ = owner_.clock_.TickMilliseconds();
        owner_.view_.SetBusy(true);
    }
    ~BusyScope() {
        if (!outer_)
            return;
        owner_.gathering_ = false;
        owner_.view_.SetBusy(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FolderUsage& owner_;
    bool outer_;
};

FolderUsage::FolderUsage(FileSystem& files, Clock& clock, TPieChart& chart, FolderUsageView& view)
    : files_(files), clock_(clock), chart_(chart), view_(view) {}

void FolderUsage::Tick() {
    uint64_t now = clock_.TickMilliseconds();
    if (now - lastPaint_ >= PaintIntervalMs) {
        view_.PaintPending();
        lastPaint_ = now;
    }
}

void FolderUsage::SetTexts(const LocalTexts& texts) {
    texts_ = texts;
    if (messageShown_)
        ShowMessage(messageName_, messageSize_);
}

// Local time in the user's format; "" when it cannot be told.
std::string FolderUsage::GatheredText() {
    if (!gatheredAt_)
        return {};
    auto local = clock_.UtcToLocal(*gatheredAt_);
    if (!local)
        return {};
    auto text = clock_.FormatDateTime(FileTimeToDateTime(*local));
    return text ? " (" + texts_(406) + " " + *text + ")" : std::string();
}

void FolderUsage::ShowMessage(const std::string& name, const std::string& size) {
    messageShown_ = true;
    messageName_ = name;
    messageSize_ = size;
    view_.SetFolderMessage(texts_(129) + " " + name + " " + texts_(130) + " " + size + "MB" +
                           GatheredText());
}

int64_t FolderUsage::folderpiechart(const std::string& path) {
    BusyScope busy(*this);
    auto cached = tree_.Figures(path);
    FolderFigures figures =
        cached ? std::move(*cached) : WalkFolder(files_, path, [this] { Tick(); });
    chart_.SetData(figures.lines);
    current_ = path;
    ShowMessage(path, std::to_string(figures.total / 1024));
    view_.FolderShown();
    return figures.total;
}

void FolderUsage::Gather(const std::string& drive) {
    gatheredAt_ = clock_.NowUtc();
    tree_.Gather(files_, drive, [this] { Tick(); });
}

void FolderUsage::DriveComboBox1Change(const std::string& pickerText) {
    BusyScope busy(*this);
    std::string drive = pickerText.substr(0, 2);
    Gather(drive);
    folderpiechart(drive);
}

void FolderUsage::Refresh() {
    if (tree_.Empty())
        return;
    BusyScope busy(*this);
    std::string shown = current_;
    // A copy: gathering clears the tree and the root it holds.
    std::string drive = tree_.Root();
    Gather(drive);
    // A folder deleted since climbs to the nearest one left; the drive
    // itself is always there.
    while (!shown.empty() && !tree_.Figures(shown))
        shown = ParentPath(shown);
    folderpiechart(shown.empty() ? drive : shown);
}

void FolderUsage::TreemapDblClick(const std::string& label) {
    BusyScope busy(*this);
    if (!label.empty() && label != FilesLabel)
        folderpiechart(label);
}

// Out of the folder shown, to its parent; at the top of the drive, the drive
// is shown again, as a right-click on the chart does.
void FolderUsage::TreemapRightClick() {
    BusyScope busy(*this);
    std::string above = ParentPath(current_);
    std::string target = above.empty() ? current_ : above;
    if (!target.empty())
        folderpiechart(target);
}

void FolderUsage::TreemapMouseMove(const std::string& label, int64_t kib) {
    ShowMessage(label, std::to_string(kib / 1024));
}

void FolderUsage::PieChart1DblClick() {
    BusyScope busy(*this);
    const std::string& label = chart_.HitLabel();
    if (!label.empty() && label != FilesLabel)
        folderpiechart(std::string(label));
}

// The folder shown is the parent of the slice's path; its own parent is the
// target, or the folder itself at the top of a drive. The Files slice has no
// backslash, so nothing happens there.
void FolderUsage::PieChart1RightClick() {
    BusyScope busy(*this);
    std::string shown = ParentPath(chart_.HitLabel());
    std::string above = ParentPath(shown);
    std::string target = above.empty() ? shown : above;
    if (!target.empty())
        folderpiechart(target);
}

void FolderUsage::PieChart1MouseMove() {
    const std::string& hit = chart_.HitText();
    size_t space = hit.find(' ');
    std::string number = hit.substr(0, space);
    std::string name = space == std::string::npos ? std::string() : hit.substr(space + 1);
    if (auto kib = ParseInteger(number); kib && number.find_first_of(" \t") == std::string::npos)
        number = std::to_string(*kib / 1024);
    ShowMessage(name, number);
}

} // namespace bs
