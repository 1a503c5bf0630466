#include "framework/dbedit.h"

#include "data/ttable.h"
#include "framework/handlerguard.h"

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent)
{
    link_.onDataChange = [this] { showField(); };
    link_.onUpdateData = [this] { writeField(); };
    connect(this, &QLineEdit::textEdited, this, [this] { typed_ = true; });
    connect(this, &QLineEdit::editingFinished, this, [this] { writeField(); });
    showField();
}

void DBEdit::setDataSource(TDataSource* source)
{
    link_.setDataSource(source);
    showField();
}

void DBEdit::setDataField(const std::string& name)
{
    link_.setFieldName(name);
    showField();
}

void DBEdit::showField()
{
    if (typed_)
        return; // the user's text waits to be written
    TField* field = link_.field();
    setText(field ? QString::fromStdString(field->asString()) : QString());
    setEnabled(field != nullptr);
}

void DBEdit::writeField()
{
    if (!typed_)
        return;
    typed_ = false;
    TField* field = link_.field();
    if (!field)
        return;
    try {
        link_.edit();
        field->setAsString(text().toStdString());
    } catch (const std::exception& error) {
        showField();
        showHandlerError(QStringLiteral("%1: %2").arg(QString::fromStdString(field->fieldName()),
                                                       QString::fromUtf8(error.what())));
    }
}
