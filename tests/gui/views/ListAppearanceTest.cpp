// Names are not cut in the icon and list modes, the details view has no empty
// strip at its right, and the pane without the focus shows its selection muted.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QListView>
#include <QStyle>
#include <QTableView>
#include <QTest>

#include "ViewFixture.h"
#include "core/app/CommandIds.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/views/WrappedNameDelegate.h"

using namespace modshelf;
using namespace modshelf::gui;
namespace cmd = modshelf::app::cmd;

namespace {

const QString kLongName = "the-complete-commentary-on-the-whole-bible-volume-one.cmtx";

class ListAppearance : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeSizedFile(fixture.resourceFolder() / kLongName.toStdString(), 10);
        fixture.createViews();
        fixture.window->resize(2400, 600);  // wider than all the columns
        fixture.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
    }
    CFileView& list() { return *fixture.list; }

    test::ViewFixture fixture;
};

TEST_F(ListAppearance, IconAndListModesShowWholeNames) {
    for (const int mode : {cmd::kListMode, cmd::kSmallIcons}) {
        ASSERT_TRUE(list().handleCommand(mode));
        QListView* icons = list().iconView();
        const int textWidth = icons->fontMetrics().horizontalAdvance(kLongName);
        for (int row = 0; row < icons->model()->rowCount(); ++row) {
            const QModelIndex index = icons->model()->index(row, icons->modelColumn());
            if (index.data().toString() != kLongName) continue;
            EXPECT_GE(icons->visualRect(index).width(), textWidth) << mode;
        }
        // Every cell of the grid is that wide.
        EXPECT_GE(icons->gridSize().width(), textWidth) << mode;
    }
}

TEST_F(ListAppearance, LargeIconsWrapWholeNamesWithinTheirCells) {
    // A short name first: the cells must not all take its size.
    test::writeSizedFile(fixture.resourceFolder() / "a.cmtx", 10);
    const QString unbroken = "TheCompleteCommentaryOnTheWholeBibleVolumeTwo.cmtx";
    test::writeSizedFile(fixture.resourceFolder() / unbroken.toStdString(), 10);
    ASSERT_TRUE(list().handleCommand(cmd::kLargeIcons));
    list().refill();
    QListView* icons = list().iconView();
    const QFontMetrics metrics = icons->fontMetrics();
    const int margin = 2 * (icons->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    int checked = 0;
    for (int row = 0; row < icons->model()->rowCount(); ++row) {
        const QModelIndex index = icons->model()->index(row, icons->modelColumn());
        const QString name = index.data().toString();
        if (name != kLongName && name != unbroken) continue;
        ++checked;
        const QRect cell = icons->visualRect(index);
        const int width = cell.width() - margin;
        // Wrapped as the view wraps a name: at word breaks, a long word anywhere.
        const QRect text = metrics.boundingRect(QRect(0, 0, width, 10000),
                                                Qt::AlignHCenter | Qt::TextWrapAnywhere, name);
        EXPECT_LE(text.width(), width) << name.toStdString();
        EXPECT_LE(text.height() + icons->iconSize().height(), cell.height()) << name.toStdString();
    }
    EXPECT_EQ(checked, 2);
}

TEST(WrappedNames, OnlyWordsWiderThanTheCellGetBreakChances) {
    const QFontMetrics metrics(QApplication::font());
    const int width = metrics.horizontalAdvance(QStringLiteral("mmmmmmmmmm"));
    struct Case {
        QString text;
        bool broken;
    };
    const std::vector<Case> cases = {
        {"kjv.bblx", false},
        {"King James Version with notes.bblx", false},
        {"the-complete-commentary-on-the-bible.cmtx", false},
        {"TheCompleteCommentaryOnTheWholeBible.cmtx", true},
        {"short TheCompleteCommentaryOnTheWholeBible", true},
    };
    for (const Case& c : cases) {
        const QString shown = WrappedNameDelegate::breakLongWords(c.text, metrics, width);
        EXPECT_EQ(shown != c.text, c.broken) << c.text.toStdString();
        QString plain = shown;
        plain.remove(QChar(0x200B));
        EXPECT_EQ(plain, c.text) << "only break chances are added";
    }
    EXPECT_EQ(WrappedNameDelegate::breakLongWords("x", metrics, 0), "x");
}

TEST_F(ListAppearance, TheLastColumnFillsTheDetailsView) {
    QTableView* table = list().detailsView();
    QHeaderView* header = table->horizontalHeader();
    const int last = header->logicalIndex(header->count() - 1);
    EXPECT_EQ(header->sectionViewportPosition(last) + header->sectionSize(last),
              table->viewport()->width());
}

TEST_F(ListAppearance, OnlyThePaneWithTheFocusShowsTheFullSelectionColour) {
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(list().detailsView()),
                                    static_cast<QAbstractItemView*>(fixture.tree)}) {
        const QPalette palette = view->palette();
        EXPECT_NE(palette.color(QPalette::Inactive, QPalette::Highlight),
                  palette.color(QPalette::Active, QPalette::Highlight));
    }
}

}  // namespace
