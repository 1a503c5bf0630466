#include "dbmanage/opties.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/data.h"
#include "framework/dbcheckbox.h"
#include "framework/dbcombobox.h"
#include "framework/dbedit.h"
#include "framework/dbtrackbar.h"
#include "framework/handlerguard.h"
#include "imaging/pdbmultiimage.h"

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(const QString& text, QWidget* parent, const char* name)
{
    return named(new QLabel(text, parent), name);
}

DBTrackBar* percentBar(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* bar = named(new DBTrackBar(Qt::Horizontal, parent), name);
    bar->setRange(0, 100);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(10);
    bar->setAccessibleName(accessibleName);
    return bar;
}

DBComboBox* choices(QWidget* parent, const char* name, const QStringList& items, QLabel* caption)
{
    auto* box = named(new DBComboBox(parent), name);
    box->addItems(items);
    box->setAccessibleName(caption->text().chopped(1)); // without the colon
    caption->setBuddy(box);
    return box;
}

} // namespace

TForm7::TForm7(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Options"));
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    PageControl1->addTab(buildDatabasePage(), QStringLiteral("Database"));
    PageControl1->addTab(buildPicturePage(), QStringLiteral("Picture"));
    PageControl1->addTab(buildFilePage(), QStringLiteral("File"));

    BitBtn1 = named(new QPushButton(tr("OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);
    setFixedClientSize(380, 330);
    setCentredOnScreen();
}

QWidget* TForm7::buildDatabasePage()
{
    auto* page = new QWidget;
    RzLabel4 = label(QStringLiteral("If you would like to protect this database you'l need to fill in a password and "
                                    "check the box below."),
                     page, "RzLabel4");
    RzLabel4->setWordWrap(true);
    DBCheckBox1 = named(new DBCheckBox(page), "DBCheckBox1");
    DBCheckBox1->setText(QStringLiteral("Password"));
    DBCheckBox1->setAccessibleName(DBCheckBox1->text());
    MaskEdit1 = named(new QLineEdit(page), "MaskEdit1");
    MaskEdit1->setAccessibleName(QStringLiteral("Password text"));
    DBCheckBox2 = named(new DBCheckBox(page), "DBCheckBox2");
    DBCheckBox2->setText(QStringLiteral("Automatic open last database"));
    DBCheckBox2->setAccessibleName(DBCheckBox2->text());

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(RzLabel4);
    layout->addWidget(DBCheckBox1);
    layout->addWidget(MaskEdit1);
    layout->addSpacing(12);
    layout->addWidget(DBCheckBox2);
    layout->addStretch(1);
    return page;
}

QWidget* TForm7::buildPicturePage()
{
    auto* page = new QWidget;
    Label1 = label(QStringLiteral("Slideshow-Delay:"), page, "Label1");
    DBEdit2 = named(new DBEdit(page), "DBEdit2");
    DBEdit2->setAccessibleName(QStringLiteral("Slideshow-Delay"));
    Label1->setBuddy(DBEdit2);
    Label2 = label(QStringLiteral("1/10 seconds"), page, "Label2");
    CheckBox1 = named(new QCheckBox(QStringLiteral("Center"), page), "CheckBox1");
    CheckBox2 = named(new QCheckBox(QStringLiteral("Auto Fit"), page), "CheckBox2");
    CheckBox3 = named(new QCheckBox(QStringLiteral("Show Filename"), page), "CheckBox3");
    // A state set by code runs the handler too, as a click does.
    connect(CheckBox1, &QCheckBox::toggled, this, guarded([this] { CheckBox1Click(); }));
    connect(CheckBox2, &QCheckBox::toggled, this, guarded([this] { CheckBox2Click(); }));
    connect(CheckBox3, &QCheckBox::toggled, this, guarded([this] { CheckBox3Click(); }));

    auto* delay = new QHBoxLayout;
    delay->addWidget(Label1);
    delay->addWidget(DBEdit2);
    delay->addWidget(Label2);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(delay);
    layout->addSpacing(12);
    layout->addWidget(CheckBox1);
    layout->addWidget(CheckBox2);
    layout->addWidget(CheckBox3);
    layout->addStretch(1);
    return page;
}

QWidget* TForm7::buildFilePage()
{
    auto* page = new QWidget;
    Label3 = label(QStringLiteral("JPG save quality:"), page, "Label3");
    RzDBTrackBar1 = percentBar(page, "RzDBTrackBar1", QStringLiteral("JPG save quality"));
    Label8 = label(QStringLiteral("poor"), page, "Label8");
    Label9 = label(QStringLiteral("good"), page, "Label9");
    Label4 = label(QStringLiteral("JPG save smoothing:"), page, "Label4");
    RzDBTrackBar2 = percentBar(page, "RzDBTrackBar2", QStringLiteral("JPG save smoothing"));
    Label11 = label(QStringLiteral("less"), page, "Label11");
    Label10 = label(QStringLiteral("much"), page, "Label10");
    Label3->setBuddy(RzDBTrackBar1);
    Label4->setBuddy(RzDBTrackBar2);
    connect(RzDBTrackBar1, &TrackBar::mouseUp, this, guarded([this] { RzDBTrackBar1MouseUp(); }));
    connect(RzDBTrackBar2, &TrackBar::mouseUp, this, guarded([this] { RzDBTrackBar2MouseUp(); }));

    Label5 = label(QStringLiteral("PNG interlaced:"), page, "Label5");
    RzDBComboBox2 = choices(page, "RzDBComboBox2", {QStringLiteral("Yes"), QStringLiteral("No")}, Label5);
    Label6 = label(QStringLiteral("TIFF compressiontype:"), page, "Label6");
    RzDBComboBox3 = choices(page, "RzDBComboBox3",
                            {QStringLiteral("None"), QStringLiteral("CCITT"), QStringLiteral("FAX CCITT3"),
                             QStringLiteral("FAX CCITT4"), QStringLiteral("LZW"), QStringLiteral("PACKBITS")},
                            Label6);
    Label7 = label(QStringLiteral("PCD mode:"), page, "Label7");
    RzDBComboBox1 = choices(page, "RzDBComboBox1",
                            {QStringLiteral("Base"), QStringLiteral("Base / 4"), QStringLiteral("Base / 16")}, Label7);
    connect(RzDBComboBox2, &DBComboBox::choiceChanged, this, guarded([this] { RzDBComboBox2Change(); }));
    connect(RzDBComboBox3, &DBComboBox::choiceChanged, this, guarded([this] { RzDBComboBox3Change(); }));
    connect(RzDBComboBox1, &DBComboBox::choiceChanged, this, guarded([this] { RzDBComboBox1Change(); }));

    auto* layout = new QGridLayout(page);
    layout->addWidget(Label3, 0, 0, 1, 3);
    layout->addWidget(Label8, 1, 0);
    layout->addWidget(RzDBTrackBar1, 1, 1);
    layout->addWidget(Label9, 1, 2);
    layout->addWidget(Label4, 2, 0, 1, 3);
    layout->addWidget(Label11, 3, 0);
    layout->addWidget(RzDBTrackBar2, 3, 1);
    layout->addWidget(Label10, 3, 2);
    layout->addWidget(Label5, 4, 0, 1, 2);
    layout->addWidget(RzDBComboBox2, 4, 2);
    layout->addWidget(Label6, 5, 0, 1, 2);
    layout->addWidget(RzDBComboBox3, 5, 2);
    layout->addWidget(Label7, 6, 0, 1, 2);
    layout->addWidget(RzDBComboBox1, 6, 2);
    layout->setRowStretch(7, 1);
    return page;
}

void TForm7::bind(Tdb& db, TPDBMultiImage& view)
{
    db_ = &db;
    view_ = &view;
    DBCheckBox1->setDataSource(&db.DataSource3);
    DBCheckBox1->setDataField("PW");
    DBCheckBox2->setDataSource(&db.DataSource4);
    DBCheckBox2->setDataField("AUTO-OPEN");
    DBEdit2->setDataSource(&db.DataSource3);
    DBEdit2->setDataField("DELAY");
    RzDBTrackBar1->setDataSource(&db.DataSource3);
    RzDBTrackBar1->setDataField("JPG QUALITY");
    RzDBTrackBar2->setDataSource(&db.DataSource3);
    RzDBTrackBar2->setDataField("JPG SMOOTH");
    RzDBComboBox2->setDataSource(&db.DataSource3);
    RzDBComboBox2->setDataField("PNG INTERLACE");
    RzDBComboBox3->setDataSource(&db.DataSource3);
    RzDBComboBox3->setDataField("TIF COMPRESSION");
    RzDBComboBox1->setDataSource(&db.DataSource3);
    RzDBComboBox1->setDataField("PCD MODE");
}

void TForm7::writeSetting(const char* fieldName, bool value)
{
    if (!db_ || !db_->Table3.active())
        return; // the boxes are set before the window is first shown with an album
    db_->Table3.edit();
    db_->Table3.fieldByName(fieldName).setAsBoolean(value);
}

void TForm7::CheckBox1Click()
{
    writeSetting("CENTER", CheckBox1->isChecked());
}

void TForm7::CheckBox2Click()
{
    writeSetting("PASSEND", CheckBox2->isChecked());
}

void TForm7::CheckBox3Click()
{
    writeSetting("TITEL", CheckBox3->isChecked());
}

void TForm7::RzDBTrackBar1MouseUp()
{
    view_->setJPegSaveQuality(RzDBTrackBar1->value());
}

void TForm7::RzDBTrackBar2MouseUp()
{
    view_->setJPegSaveSmooth(RzDBTrackBar2->value());
}

void TForm7::RzDBComboBox2Change()
{
    if (RzDBComboBox2->currentIndex() >= 0)
        view_->setPNGInterLaced(RzDBComboBox2->currentIndex() == 0);
}

void TForm7::RzDBComboBox3Change()
{
    if (RzDBComboBox3->currentIndex() >= 0)
        view_->setTifSaveCompress(static_cast<imaging::TiffCompression>(RzDBComboBox3->currentIndex()));
}

void TForm7::RzDBComboBox1Change()
{
    // The items run from the largest picture down; the modes from the smallest up.
    static constexpr imaging::PcdMode modes[] = {imaging::PcdMode::pcd_BASE, imaging::PcdMode::pcd_BASE4,
                                                  imaging::PcdMode::pcd_BASE16};
    const int item = RzDBComboBox1->currentIndex();
    if (item >= 0)
        view_->setPCDMode(modes[item]);
}
