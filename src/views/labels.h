// TForm2, the editor of the 24 category names: a heading, then "Label 1:" to "Label 12:" in
// the left column and "Label 13:" to "Label 24:" in the right, each beside its name's edit.
#pragma once

#include <array>

#include "framework/modalform.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm2 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // The edit of category 1..24 (RzLineEdit1 to RzLineEdit24).
    QLineEdit& nameEdit(int category) { return *edits_.at(static_cast<std::size_t>(category - 1)); }

    QLabel* RzLabel1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // Close

private:
    std::array<QLineEdit*, 24> edits_{};
};
