// What bound controls hear: notifications, suspension, and the request to write typed input
// before a record is stored or dropped.
#include <gtest/gtest.h>

#include <algorithm>

#include "albumfixture.h"
#include "recordinglink.h"

namespace {

class BoundTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        album.createPictures(table, 3);
        source.setDataSet(&table);
        link.setDataSource(&source);
        table.open();
        link.clear();
    }
    int count(const std::string& event) const
    {
        return static_cast<int>(std::count(link.events.begin(), link.events.end(), event));
    }
    AlbumFixture album;
    TTable table;
    TDataSource source;
    RecordingLink link;
};

} // namespace

TEST_F(BoundTable, MovesEditsAndPostsReachTheControls)
{
    table.next();
    EXPECT_EQ(link.events, std::vector<std::string>{"scrolled"});
    link.clear();
    table.edit();
    table.fieldByName("MEMO").setAsString("x");
    table.refresh();
    EXPECT_EQ(link.events, (std::vector<std::string>{"editing", "field:MEMO", "update", "editing", "changed"}));
}

TEST_F(BoundTable, SuspendedControlsHearNothingUntilTheLastResumeWhichNotifiesOnce)
{
    table.disableControls();
    table.disableControls();
    table.next();
    table.edit();
    table.fieldByName("MARK").setAsBoolean(true);
    table.refresh();
    table.enableControls();
    EXPECT_EQ(count("scrolled") + count("editing") + count("changed"), 0);
    table.enableControls();
    EXPECT_EQ(count("changed"), 1);
    EXPECT_EQ(count("scrolled"), 0);
    table.enableControls(); // unbalanced resume is harmless
    EXPECT_EQ(count("changed"), 1);
}

TEST_F(BoundTable, TypedInputIsWrittenBeforeAMoveDecidesToStoreEvenWhileSuspended)
{
    // The control has typed text it has not written yet; it writes it when asked.
    table.edit();
    link.onUpdateData = [this] {
        if (table.state() != TDataSetState::dsBrowse && table.fieldByName("MEMO").asString().empty())
            table.fieldByName("MEMO").setAsString("typed");
    };
    table.disableControls();
    table.next();
    table.enableControls();
    link.onUpdateData = nullptr;
    table.first();
    EXPECT_EQ(table.fieldByName("MEMO").asString(), "typed");
}

TEST_F(BoundTable, OpeningAndClosingTellTheControls)
{
    table.close();
    EXPECT_EQ(link.events.back(), "active");
    table.open();
    EXPECT_EQ(link.events.back(), "active");
}

TEST_F(BoundTable, ALinkMayDetachWhileBeingNotified)
{
    struct SelfDetaching : TDataLink {
        void dataSetScrolled() override { setDataSource(nullptr); }
    };
    auto detaching = std::make_unique<SelfDetaching>();
    detaching->setDataSource(&source);
    table.next();
    EXPECT_EQ(detaching->dataSource(), nullptr);
    table.next();
    EXPECT_EQ(count("scrolled"), 2);
}
