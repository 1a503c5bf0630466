// The main window's controls: picture above, memo and browsing controls below, the category
// column on the right, the status bar along the bottom.
#include "app/main.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include "framework/trackbar.h"
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "framework/buttonglyphs.h"
#include "framework/dbcheckbox.h"
#include "framework/dblabel.h"
#include "framework/dbmemo.h"
#include "framework/dbstatestatus.h"
#include "framework/statuspanes.h"
#include "imaging/pdbmultiimage.h"

namespace {

constexpr int categoryColumnWidth = 144;
constexpr int categoryRowPitch = 17;
constexpr int memoWidth = 305;

// The designer's names of the category rows' controls, category 1 first.
int nameLabelNumber(int category)
{
    return category <= 7 ? category : category + 7;
}

int membershipBoxNumber(int category)
{
    if (category <= 15)
        return category + 2;
    if (category <= 17)
        return category - 15;
    return category;
}

QToolButton* glyphButton(QWidget* parent, const char* name, const QIcon& icon, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(false);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// The green bar behind the category names.
class CategoryColumn : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QLinearGradient bar(0, 0, width(), 0);
        bar.setColorAt(0, QColor(0, 70, 20));
        bar.setColorAt(1, QColor(0, 120, 40));
        painter.fillRect(rect(), bar);
        painter.fillRect(QRect(0, 0, 22, height()), Qt::black); // the boxes' black column
    }
};

// The lower pane's backdrop: a quiet dark gradient behind the browsing controls.
class LowerPane : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QLinearGradient backdrop(0, 0, 0, height());
        backdrop.setColorAt(0, QColor(45, 55, 60));
        backdrop.setColorAt(1, QColor(20, 25, 30));
        painter.fillRect(rect(), backdrop);
    }
};

} // namespace

void TForm1::buildLayout()
{
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    RzSplitter3 = new QSplitter(Qt::Vertical, central);
    RzSplitter3->setObjectName(QStringLiteral("RzSplitter3"));
    RzSplitter3->setChildrenCollapsible(false);
    PDBMultiImage1 = new TPDBMultiImage(RzSplitter3);
    PDBMultiImage1->setObjectName(QStringLiteral("PDBMultiImage1"));
    PDBMultiImage1->setAccessibleName(tr("Picture"));
    QFont caption = font();
    caption.setBold(true);
    caption.setPixelSize(16);
    PDBMultiImage1->setOverlayFont(caption);
    PDBMultiImage1->setOverlayColour(Qt::green);
    RzSplitter3->addWidget(PDBMultiImage1);
    RzSplitter3->addWidget(buildLowerPane());
    // The bar is locked: the resize rule alone places it.
    RzSplitter3->handle(1)->setEnabled(false);
    RzSplitter3->setHandleWidth(3);
    RzSplitter3->setStretchFactor(0, 1);
    RzSplitter3->setStretchFactor(1, 0);

    row->addWidget(RzSplitter3, 1);
    row->addWidget(buildCategoryColumn());
    setCentralWidget(central);
    buildStatusBar();
}

QWidget* TForm1::buildLowerPane()
{
    auto* pane = new LowerPane(RzSplitter3);
    auto* row = new QHBoxLayout(pane);
    row->setContentsMargins(0, 0, 6, 4);

    DBMemo1 = new DBMemo(pane);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setAccessibleName(tr("Memo"));
    DBMemo1->setFixedWidth(memoWidth);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #008080; color: white; }"));
    row->addWidget(DBMemo1);

    auto* controls = new QVBoxLayout;
    controls->setContentsMargins(8, 6, 0, 0);
    auto* findRow = new QHBoxLayout;
    auto* findLabel = new QLabel(tr("Find:"), pane);
    findLabel->setStyleSheet(QStringLiteral("color: white;"));
    Edit1 = new QLineEdit(pane);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(tr("Find"));
    findLabel->setBuddy(Edit1);
    SpeedButton4 = glyphButton(pane, "SpeedButton4", glyphs::findNext(), tr("find next"));
    findRow->addWidget(findLabel);
    findRow->addWidget(Edit1, 1);
    findRow->addWidget(SpeedButton4);
    controls->addLayout(findRow);

    auto* buttons = new QHBoxLayout;
    SpeedButton1 = glyphButton(pane, "SpeedButton1", glyphs::stepBack(), tr("previous picture (find previous)"));
    SpeedButton2 = glyphButton(pane, "SpeedButton2", glyphs::stepForward(), tr("next picture (find next)"));
    SpeedButton5 = glyphButton(pane, "SpeedButton5", glyphs::zoomIn(), tr("zoom in"));
    SpeedButton6 = glyphButton(pane, "SpeedButton6", glyphs::zoomOut(), tr("zoom out"));
    SpeedButton3 = glyphButton(pane, "SpeedButton3", glyphs::playStop(), tr("play/stop slideshow"));
    SpeedButton8 = glyphButton(pane, "SpeedButton8", glyphs::thumbnails(), tr("thumbnails"));
    SpeedButton9 = glyphButton(pane, "SpeedButton9", glyphs::fullScreen(), tr("full screen"));
    // Back and forward form a group in which exactly one is down: the slideshow direction.
    auto* direction = new QButtonGroup(this);
    direction->setExclusive(true);
    for (QToolButton* button : {SpeedButton1, SpeedButton2}) {
        button->setCheckable(true);
        direction->addButton(button);
    }
    SpeedButton2->setChecked(true);
    SpeedButton3->setCheckable(true);
    for (QToolButton* button :
         {SpeedButton1, SpeedButton2, SpeedButton5, SpeedButton6, SpeedButton3, SpeedButton8, SpeedButton9})
        buttons->addWidget(button);
    buttons->addStretch(1);
    controls->addLayout(buttons);

    RzTrackBar1 = new TrackBar(Qt::Horizontal, pane);
    RzTrackBar1->setObjectName(QStringLiteral("RzTrackBar1"));
    RzTrackBar1->setMinimum(0);
    RzTrackBar1->setMaximum(1);
    RzTrackBar1->setToolTip(tr("position in database"));
    RzTrackBar1->setAccessibleName(tr("position in database"));
    RzTrackBar1->setTickPosition(QSlider::TicksBelow);
    controls->addWidget(RzTrackBar1);
    controls->addStretch(1);
    row->addLayout(controls, 1);
    return pane;
}

QWidget* TForm1::buildCategoryColumn()
{
    auto* column = new CategoryColumn(this);
    column->setObjectName(QStringLiteral("RzPanel2"));
    column->setFixedWidth(categoryColumnWidth);
    auto* rows = new QVBoxLayout(column);
    rows->setContentsMargins(2, 6, 4, 6);
    rows->setSpacing(0);

    for (int category = 1; category <= 24; ++category) {
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        auto* box = new DBCheckBox(column);
        box->setObjectName(QStringLiteral("RzDBCheckBox%1").arg(membershipBoxNumber(category)));
        box->setToolTip(tr("The picture belongs to category %1").arg(category));
        box->setAccessibleName(tr("In category %1").arg(category));
        box->setDataField(std::to_string(category));
        auto* label = new DBLabel(column);
        label->setObjectName(QStringLiteral("RzDBLabel%1").arg(nameLabelNumber(category)));
        // Its accessible name is the category name it shows, as for any label.
        label->setAccessibleDescription(tr("Show only the pictures of category %1").arg(category));
        label->setToolTip(tr("Show only the pictures of this category"));
        label->setDataField(std::to_string(category));
        label->setFixedHeight(categoryRowPitch);
        categoryBoxes_[static_cast<std::size_t>(category - 1)] = box;
        categoryLabels_[static_cast<std::size_t>(category - 1)] = label;
        line->addWidget(box);
        line->addWidget(label, 1);
        rows->addLayout(line);
    }
    rows->addSpacing(8);

    RzDBCheckBox25 = new DBCheckBox(column);
    RzDBCheckBox25->setObjectName(QStringLiteral("RzDBCheckBox25"));
    RzDBCheckBox25->setText(tr("Check"));
    RzDBCheckBox25->setAccessibleName(tr("Check"));
    RzDBCheckBox25->setTextColour(Qt::green);
    RzDBCheckBox25->setDataField("MARK");
    rows->addWidget(RzDBCheckBox25);
    rows->addSpacing(8);

    SpeedButton7 = new QToolButton(column);
    SpeedButton7->setObjectName(QStringLiteral("SpeedButton7"));
    SpeedButton7->setText(tr("show all"));
    SpeedButton7->setToolTip(tr("show all pictures (filter off)"));
    SpeedButton7->setAccessibleName(tr("show all"));
    SpeedButton7->setCheckable(true);
    SpeedButton7->setMinimumWidth(categoryColumnWidth - 16);
    SpeedButton7->setStyleSheet(
        QStringLiteral("QToolButton { background: #1e9e32; color: white; font-weight: bold; border: 2px outset #60d070;"
                       " padding: 3px; }"
                       "QToolButton:checked { background: #c81e1e; border: 2px inset #e06060; }"
                       "QToolButton:disabled { background: #8c8c8c; color: #d0d0d0; border-color: #a0a0a0; }"));
    rows->addWidget(SpeedButton7, 0, Qt::AlignHCenter);
    rows->addStretch(1);

    BitBtn1 = new QPushButton(glyphs::exit(), tr("Exit"), column);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(tr("Close Kadrix"));
    rows->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    return column;
}

void TForm1::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("RzStatusBar1"));
    bar->setSizeGripEnabled(true);
    RzDBStateStatus1 = new DBStateStatus(bar);
    RzDBStateStatus1->setObjectName(QStringLiteral("RzDBStateStatus1"));
    RzStatusPane1 = new StatusPane(bar);
    RzStatusPane1->setObjectName(QStringLiteral("RzStatusPane1"));
    RzStatusPane4 = new StatusPane(bar);
    RzStatusPane4->setObjectName(QStringLiteral("RzStatusPane4"));
    RzStatusPane3 = new StatusPane(bar);
    RzStatusPane3->setObjectName(QStringLiteral("RzStatusPane3"));
    RzStatusPane3->setText(QStringLiteral("0"));
    RzProgressBar2 = new PartsProgressBar(bar);
    RzProgressBar2->setObjectName(QStringLiteral("RzProgressBar2"));
    RzProgressBar2->setAccessibleName(tr("Progress"));
    RzStatusPane2 = new StatusPane(bar);
    RzStatusPane2->setObjectName(QStringLiteral("RzStatusPane2"));

    RzDBStateStatus1->setMinimumWidth(70);
    RzStatusPane1->setMinimumWidth(120);
    RzStatusPane4->setMinimumWidth(80);
    bar->addWidget(RzDBStateStatus1);
    bar->addWidget(RzStatusPane1, 2);
    bar->addWidget(RzStatusPane4, 1);
    bar->addWidget(RzStatusPane3);
    bar->addWidget(RzProgressBar2, 2);
    bar->addWidget(RzStatusPane2, 1);
}
