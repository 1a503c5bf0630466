// The help window's pages and their texts, the page it reopens on, and the About window.
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "programfixture.h"
#include "views/about.h"
#include "views/help.h"

namespace {

class HelpAboutTest : public ProgramTest {
protected:
    void SetUp() override { startWithoutActivation(); }
    // Opens help, reports the page it opened on, then shows `page` and closes.
    QString openHelpShowing(const QString& page)
    {
        QString openedOn;
        modals.onNextModal([&openedOn, page](QDialog& dialog) {
            auto& help = static_cast<TForm3&>(dialog);
            openedOn = help.PageControl1->tabText(help.PageControl1->currentIndex());
            for (int index = 0; index < help.PageControl1->count(); ++index)
                if (help.PageControl1->tabText(index) == page)
                    help.PageControl1->setCurrentIndex(index);
            help.BitBtn1->click();
        });
        trigger("Help1");
        return openedOn;
    }
    QStringList pageTexts(const QString& page)
    {
        auto& help = *form().findChild<TForm3*>();
        QStringList texts;
        for (int index = 0; index < help.PageControl1->count(); ++index)
            if (help.PageControl1->tabText(index) == page)
                for (auto* label : help.PageControl1->widget(index)->findChildren<QLabel*>())
                    texts << label->text();
        return texts;
    }
};

} // namespace

TEST_F(HelpAboutTest, HelpOpensOnBrowsingAndThenOnThePageLastShown)
{
    EXPECT_EQ(openHelpShowing("Category"), "Browsing");
    EXPECT_EQ(openHelpShowing("Batch"), "Category");
    EXPECT_EQ(openHelpShowing("Batch"), "Batch");
}

TEST_F(HelpAboutTest, TheHelpPagesHoldTheirTextsTrailingBlanksIncluded)
{
    auto& help = *form().findChild<TForm3*>();
    QStringList captions;
    for (int index = 0; index < help.PageControl1->count(); ++index)
        captions << help.PageControl1->tabText(index);
    EXPECT_EQ(captions, (QStringList{"Database", "Picture", "Scanner", "Category", "Effect", "Browsing", "Batch"}));
    EXPECT_TRUE(pageTexts("Database").contains("View and change some general options about the program. Password "
                                               "protection, behaviour of the browser etc. "));
    EXPECT_TRUE(pageTexts("Category").contains("Click on the name of the category to view only those pictures that "
                                               "belong to this selection. "));
    EXPECT_EQ(pageTexts("Picture").count("Clipboard"), 2);
    EXPECT_TRUE(pageTexts("Scanner").first().startsWith("The scanner menu is used"));
    EXPECT_EQ(pageTexts("Browsing").size(), 4);
    EXPECT_TRUE(pageTexts("Batch").contains("You can save/print all pictures: Choose a filter (catagory or checked) "
                                            "and choose save-as or print from the menu."));
}

TEST_F(HelpAboutTest, AboutClosesOnABackgroundClickButNotOnALabel)
{
    bool openAfterLabel = false;
    bool openAfterBackground = true;
    modals.onNextModal([&](QDialog& dialog) {
        auto& about = static_cast<TForm5&>(dialog);
        EXPECT_EQ(about.Label2->text(), "Kadrix");
        EXPECT_EQ(about.Label3->text(), "Version 1.0  rev 01/27/98");
        EXPECT_EQ(about.Label1->text(), "Presents....");
        EXPECT_EQ(about.Image1->pixmap().size(), QSize(200, 103));
        const QString credits = about.Label4->text() + about.Label5->text() + about.Label6->text();
        for (const char* named : {"Qt", "ImageMagick", "C++"})
            EXPECT_TRUE(credits.contains(named)) << named;
        QTest::mouseClick(about.Label3, Qt::LeftButton, {}, about.Label3->rect().center());
        openAfterLabel = about.isVisible();
        QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(about.width() - 5, 120));
        openAfterBackground = about.isVisible();
        if (about.isVisible())
            about.reject();
    });
    trigger("About1");
    EXPECT_TRUE(openAfterLabel);
    EXPECT_FALSE(openAfterBackground);
}
