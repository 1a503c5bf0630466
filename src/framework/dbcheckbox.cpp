#include "framework/dbcheckbox.h"

#include <QPainter>

#include "data/ttable.h"

DBCheckBox::DBCheckBox(QWidget* parent) : QAbstractButton(parent), textColour_(palette().color(QPalette::WindowText))
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    link_.onDataChange = [this] { showField(); };
    showField();
}

void DBCheckBox::setDataSource(TDataSource* source)
{
    link_.setDataSource(source);
    showField();
}

void DBCheckBox::setDataField(const std::string& name)
{
    link_.setFieldName(name);
    showField();
}

void DBCheckBox::setTextColour(const QColor& colour)
{
    textColour_ = colour;
    update();
}

void DBCheckBox::showField()
{
    TField* field = link_.field();
    if (!field || field->isNull())
        state_ = CheckGlyphState::Undecided;
    else
        state_ = field->asBoolean() ? CheckGlyphState::Checked : CheckGlyphState::Unchecked;
    const QSignalBlocker quiet(this);
    setChecked(state_ == CheckGlyphState::Checked);
    update();
}

void DBCheckBox::nextCheckState()
{
    const bool checking = state_ != CheckGlyphState::Checked;
    if (!link_.edit())
        return;
    if (TField* field = link_.field())
        field->setAsBoolean(checking); // the field's change re-shows the box
}

CheckGlyphLook DBCheckBox::currentLook() const
{
    if (isDown())
        return CheckGlyphLook::Darker;
    if (!isEnabled() || underMouse())
        return CheckGlyphLook::Paler;
    return CheckGlyphLook::Normal;
}

QSize DBCheckBox::sizeHint() const
{
    const int textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text()) + 6;
    return {checkGlyphSize + textWidth, std::max(checkGlyphSize, fontMetrics().height())};
}

void DBCheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int top = (height() - checkGlyphSize) / 2;
    painter.drawPixmap(0, top, checkGlyph(state_, currentLook()));
    if (!text().isEmpty()) {
        painter.setPen(textColour_);
        painter.drawText(rect().adjusted(checkGlyphSize + 4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
    }
    if (hasFocus()) {
        painter.setPen(QPen(textColour_, 1, Qt::DotLine));
        painter.drawRect(0, top, checkGlyphSize - 1, checkGlyphSize - 1);
    }
}
