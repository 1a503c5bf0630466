#include "views/help.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "views/helptexts.h"

namespace {

QLabel* wrappedText(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Titled entries in two columns, paragraphs across both, top to bottom; a page longer than the
// window scrolls.
QWidget* helpPage(const HelpPage& page, QWidget* parent)
{
    auto* scroller = new QScrollArea(parent);
    scroller->setObjectName(page.caption);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* widget = new QWidget(scroller);
    auto* grid = new QGridLayout(widget);
    int row = 0;
    for (const HelpEntry& entry : page.entries) {
        if (entry.title.isEmpty()) {
            grid->addWidget(wrappedText(entry.text, widget), row++, 0, 1, 2);
            continue;
        }
        auto* title = new QLabel(entry.title, widget);
        title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        grid->addWidget(title, row, 0);
        grid->addWidget(wrappedText(entry.text, widget), row++, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    scroller->setWidget(widget);
    return scroller;
}

} // namespace

TForm3::TForm3(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Help"));
    setCentredOnScreen();
    setFixedClientSize(427, 319);

    auto* layout = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    for (const HelpPage& page : helpPages())
        PageControl1->addTab(helpPage(page, PageControl1), page.caption);
    // The window is kept for the whole run, so later openings show the page last shown.
    for (int index = 0; index < PageControl1->count(); ++index)
        if (PageControl1->tabText(index) == QLatin1String("Browsing"))
            PageControl1->setCurrentIndex(index);
    layout->addWidget(PageControl1, 1);

    BitBtn1 = new QPushButton(tr("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    auto* lower = new QHBoxLayout;
    lower->addStretch(1);
    lower->addWidget(BitBtn1);
    layout->addLayout(lower);
}
