#include <gtest/gtest.h>

#include "app/ListOrder.h"
#include "platform/fake/VectorResultsList.h"

namespace bs {
namespace {

ListRow FileRow(const std::string& name, const std::string& size) {
    return ListRow{name, {"c:\\", size, "2024-01-01"}, true};
}

std::vector<std::string> Captions(const std::vector<ListRow>& rows) {
    std::vector<std::string> captions;
    for (const auto& row : rows)
        captions.push_back(row.caption);
    return captions;
}

TEST(ListOrder, LengthPutsLargerFilesFirstOnEveryClick) {
    std::vector<ListRow> rows = {
        FileRow("a", "10"), FileRow("b", "300"),        FileRow("c", "20"), FileRow("d", "300"),
        FileRow("e", "5"),  FileRow("f", "5368709120"), FileRow("g", "9")};
    SortListRows(rows, 2, true);
    const std::vector<std::string> expected = {"f", "b", "d", "c", "a", "g", "e"};
    EXPECT_EQ(Captions(rows), expected);
    SortListRows(rows, 2, true);
    EXPECT_EQ(Captions(rows), expected);

    // Any other type compares the texts: "10" before "9".
    std::vector<ListRow> texts = {FileRow("x", "9"), FileRow("y", "10")};
    SortListRows(texts, 2, false);
    EXPECT_EQ(Captions(texts), (std::vector<std::string>{"y", "x"}));
    EXPECT_EQ(ListView1Compare(FileRow("x", "9"), FileRow("y", "10"), 2, true), 1);
    EXPECT_EQ(ListView1Compare(FileRow("y", "10"), FileRow("x", "9"), 2, true), 0);
    EXPECT_EQ(ListView1Compare(FileRow("x", "9"), FileRow("y", "10"), 3, true), 0);
    EXPECT_LT(ListView1Compare(FileRow("x", "-"), FileRow("y", "10"), 2, true), 0);
}

TEST(ListOrder, TextColumnsFoldOnlyAsciiLettersAndKeepTies) {
    std::vector<ListRow> rows = {FileRow("_under", "1"), FileRow("b.tmp", "1"),
                                 FileRow("A.TMP", "1"), FileRow("a.tmp", "2")};
    SortListRows(rows, 0, true);
    // "_" lies between the capitals and the small letters: folding to upper
    // case puts it after every letter. Equal names keep their order.
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"A.TMP", "a.tmp", "b.tmp", "_under"}));

    // A row with fewer sub-items compares as if the missing one were empty.
    ListRow shortRow{"s", {"c:\\"}, false};
    std::vector<ListRow> mixed = {FileRow("full", "1"), shortRow};
    EXPECT_EQ(SortedRowOrder(mixed, 3, true), (std::vector<int>{1, 0}));
    EXPECT_TRUE(SortedRowOrder({}, 0, true).empty());
}

TEST(ListOrder, EnterGivesEverySelectedRowTheFirstOnesOppositeState) {
    VectorResultsList list;
    for (bool checked : {false, true, false, true, false})
        list.AddRow(ListRow{"r", {}, checked});
    std::vector<int> selected = {3, 1, 2}; // first selected: row 1, ticked
    ToggleSelectedChecks(list, selected);
    EXPECT_FALSE(list.rows[1].checked);
    EXPECT_FALSE(list.rows[2].checked);
    EXPECT_FALSE(list.rows[3].checked);
    ToggleSelectedChecks(list, selected);
    EXPECT_TRUE(list.rows[1].checked && list.rows[2].checked && list.rows[3].checked);
    EXPECT_FALSE(list.rows[0].checked); // unselected rows keep theirs
    EXPECT_FALSE(list.rows[4].checked);
    ToggleSelectedChecks(list, {});
    EXPECT_TRUE(list.rows[1].checked);
}

} // namespace
} // namespace bs
