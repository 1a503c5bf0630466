// A check box bound to a logical field of the current record, drawn with the coloured
// square glyphs. An empty field shows the undecided (grey) look; a click puts the record
// into editing and writes the new state: undecided and unchecked become checked, checked
// becomes unchecked.
#pragma once

#include <QAbstractButton>

#include "framework/checkglyphs.h"
#include "framework/fielddatalink.h"

class DBCheckBox : public QAbstractButton {
    Q_OBJECT
public:
    explicit DBCheckBox(QWidget* parent = nullptr);

    void setDataSource(TDataSource* source);
    void setDataField(const std::string& name);
    CheckGlyphState glyphState() const { return state_; }
    // Text colour of the caption, if any.
    void setTextColour(const QColor& colour);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;

private:
    void showField();
    CheckGlyphLook currentLook() const;

    FieldDataLink link_;
    CheckGlyphState state_ = CheckGlyphState::Undecided;
    QColor textColour_;
};
