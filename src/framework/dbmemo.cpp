#include "framework/dbmemo.h"

#include <QKeyEvent>

#include "data/ttable.h"

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    link_.onDataChange = [this] { showField(); };
    link_.onUpdateData = [this] { writeField(); };
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!loading_)
            typed_ = true;
    });
    showField();
}

void DBMemo::setDataSource(TDataSource* source)
{
    link_.setDataSource(source);
    showField();
}

void DBMemo::setDataField(const std::string& name)
{
    link_.setFieldName(name);
    showField();
}

void DBMemo::showField()
{
    TField* field = link_.field();
    loading_ = true;
    const QString text = field ? QString::fromStdString(field->asString()) : QString();
    if (toPlainText() != text)
        setPlainText(text);
    loading_ = false;
    typed_ = false;
    setReadOnly(field == nullptr);
}

void DBMemo::writeField()
{
    if (!typed_)
        return;
    typed_ = false;
    if (TField* field = link_.field())
        field->setAsString(toPlainText().toStdString());
}

bool DBMemo::beginTyping()
{
    if (typed_)
        return true;
    // Putting the record into editing re-shows the stored text, which the key then changes.
    return link_.edit();
}

void DBMemo::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool typesText = !text.isEmpty() && (text.at(0).isPrint() || text.at(0) == '\r' || text.at(0) == '\t');
    const bool changesText = typesText || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
                             event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste) ||
                             event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo);
    if (changesText && !beginTyping()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DBMemo::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty() && !beginTyping())
        return;
    QPlainTextEdit::inputMethodEvent(event);
}

void DBMemo::insertFromMimeData(const QMimeData* source)
{
    if (beginTyping())
        QPlainTextEdit::insertFromMimeData(source);
}
