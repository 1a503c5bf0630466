#include "dbmanage/optionscommand.h"

#include <QCheckBox>
#include <QLineEdit>

#include "data/data.h"
#include "dbmanage/opties.h"
#include "imaging/pdbmultiimage.h"

OptionsCommand::OptionsCommand(Tdb& db, TPDBMultiImage& view, TForm7& window) : db_(db), view_(view), window_(window)
{
    window_.bind(db, view);
}

void OptionsCommand::showOptions()
{
    TTable& settings = db_.Table3;
    settings.edit();
    window_.CheckBox1->setChecked(settings.fieldByName("CENTER").asBoolean());
    window_.CheckBox2->setChecked(settings.fieldByName("PASSEND").asBoolean());
    window_.CheckBox3->setChecked(settings.fieldByName("TITEL").asBoolean());
    window_.MaskEdit1->setText(QString::fromStdString(settings.fieldByName("PASWOORD").asString()));

    if (window_.ShowModal() == TModalResult::mrOk) {
        // The field keeps the first 15 characters of a longer password.
        settings.fieldByName("PASWOORD").setAsString(window_.MaskEdit1->text().toStdString());
        settings.refresh();
        if (db_.Reg.active()) // without reg.db there is no automatic opening to store
            db_.Reg.refresh();
    }
    // A changed automatic opening otherwise stays pending in reg.db's record until its next write.
    settings.refresh();
    applyDisplaySettings();
}

void OptionsCommand::applyDisplaySettings()
{
    TTable& settings = db_.Table3;
    view_.setCenter(settings.fieldByName("CENTER").asBoolean());
    if (settings.fieldByName("PASSEND").asBoolean())
        view_.fitWhenLarger();
    else
        view_.setStretchRatio(false);
}
