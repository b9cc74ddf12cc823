#include "folders/FolderUsage.h"

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

void FolderUsage::ShowMessage(const std::string& name, const std::string& size) {
    messageShown_ = true;
    messageName_ = name;
    messageSize_ = size;
    view_.SetFolderMessage(texts_(129) + " " + name + " " + texts_(130) + " " + size + "MB");
}

int64_t FolderUsage::folderpiechart(const std::string& path) {
    BusyScope busy(*this);
    auto cached = tree_.Figures(path);
    FolderFigures figures =
        cached ? std::move(*cached) : WalkFolder(files_, path, [this] { Tick(); });
    chart_.SetData(figures.lines);
    ShowMessage(path, std::to_string(figures.total / 1024));
    return figures.total;
}

void FolderUsage::DriveComboBox1Change(const std::string& pickerText) {
    BusyScope busy(*this);
    std::string drive = pickerText.substr(0, 2);
    tree_.Gather(files_, drive, [this] { Tick(); });
    folderpiechart(drive);
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
