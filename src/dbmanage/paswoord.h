// TForm4, the password prompt shown before a protected album is opened. Its entry keeps
// its text from one prompt to the next.
#pragma once

#include "framework/modalform.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm4 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QPushButton* BitBtn2 = nullptr; // OK
    QPushButton* BitBtn1 = nullptr; // Cancel

protected:
    void showEvent(QShowEvent* event) override;
};
