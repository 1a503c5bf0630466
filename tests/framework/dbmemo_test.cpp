// The memo box bound to a memo field: every change the user makes is stored.
#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "data/albumfixture.h"
#include "framework/dbmemo.h"

namespace {

class MemoBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        album.createPictures(table, {{"first memo"}, {"second memo"}});
        source.setDataSet(&table);
        table.open();
        memo.setDataSource(&source);
        memo.setDataField("MEMO");
        memo.show();
    }
    // Moves away and back, as a step does, then reads what the record holds.
    std::string storedMemo()
    {
        table.next();
        table.prior();
        return table.fieldByName("MEMO").asString();
    }
    void selectAll() { memo.selectAll(); }
    // Runs an entry of the memo's own context menu, as a right click would offer it.
    void runContextMenuEntry(const QString& caption)
    {
        const std::unique_ptr<QMenu> menu(memo.createStandardContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->text().remove(QLatin1Char('&')).startsWith(caption)) {
                action->trigger();
                return;
            }
        }
        FAIL() << "no context menu entry " << caption.toStdString();
    }

    AlbumFixture album;
    TTable table;
    TDataSource source;
    DBMemo memo;
};

} // namespace

TEST_F(MemoBox, CutAndDeleteFromTheContextMenuAreStored)
{
    memo.moveCursor(QTextCursor::Start);
    memo.moveCursor(QTextCursor::NextWord, QTextCursor::KeepAnchor);
    runContextMenuEntry("Cut");
    EXPECT_EQ(table.state(), TDataSetState::dsEdit);
    EXPECT_EQ(storedMemo(), "memo");

    selectAll();
    runContextMenuEntry("Delete");
    EXPECT_EQ(storedMemo(), "");
}

TEST_F(MemoBox, UndoAndRedoAreStored)
{
    memo.setFocus();
    QTest::keyClicks(&memo, "new ");
    table.refresh(); // stored while the memo stays on the record, keeping its undo history
    ASSERT_EQ(table.state(), TDataSetState::dsBrowse);
    memo.undo();
    EXPECT_EQ(table.state(), TDataSetState::dsEdit);
    const std::string undone = memo.toPlainText().toStdString();
    EXPECT_NE(undone, "new first memo");
    table.refresh();
    EXPECT_EQ(table.fieldByName("MEMO").asString(), undone);
    memo.redo();
    EXPECT_EQ(storedMemo(), "new first memo");
}

TEST_F(MemoBox, TextSetByAnAssistiveToolIsStoredAndTypingAfterwardsToo)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&memo);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->editableTextInterface(), nullptr);
    accessible->editableTextInterface()->replaceText(0, 5, QStringLiteral("spoken"));
    EXPECT_EQ(table.state(), TDataSetState::dsEdit);
    EXPECT_EQ(storedMemo(), "spoken memo");
    // The memo must not think it is still typing into the record it left.
    memo.setFocus();
    memo.moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo, "!");
    EXPECT_EQ(storedMemo(), "spoken memo!");
}

TEST_F(MemoBox, TheRemovalHalfOfADragIsStored)
{
    // Dragging text out of the box removes it through the box's own cursor, as here.
    QTextCursor cursor = memo.textCursor();
    cursor.setPosition(0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    EXPECT_EQ(storedMemo(), "memo");
}

TEST_F(MemoBox, ChangingTheRecordElsewhereShowsTheRecordAgain)
{
    table.edit();
    table.fieldByName("MEMO").setAsString("from elsewhere");
    EXPECT_EQ(memo.toPlainText(), "from elsewhere");
    table.refresh();
    EXPECT_EQ(table.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(storedMemo(), "from elsewhere");
}
