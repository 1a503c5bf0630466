#include "views/categoryeditor.h"

#include <QLineEdit>

#include "data/data.h"
#include "framework/mainview.h"
#include "views/labels.h"

CategoryEditor::CategoryEditor(Tdb& db, MainView& window, TForm2& editor) : db_(db), window_(window), editor_(editor)
{}

void CategoryEditor::editNames()
{
    window_.showAllPictures();
    TTable& names = db_.Table2;
    // With no record yet every name reads empty.
    const bool hasRecord = !names.isEmpty();
    for (int category = 1; category <= 24; ++category) {
        const std::string field = std::to_string(category);
        editor_.nameEdit(category).setText(
            hasRecord ? QString::fromStdString(names.fieldByName(field).asString()) : QString());
    }
    // However the window was closed, the names are stored.
    editor_.ShowModal();
    names.edit();
    // The table cuts each name to the bytes its field holds, never inside a character.
    for (int category = 1; category <= 24; ++category)
        names.fieldByName(std::to_string(category)).setAsString(editor_.nameEdit(category).text().toStdString());
    names.refresh();
}
