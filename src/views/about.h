// TForm5, the About window: the logo, the product name, the version and the credits on black.
// A click on its background closes it.
#pragma once

#include "framework/modalform.h"

class QLabel;

class TForm5 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    void FormClick();

    QLabel* Image1 = nullptr; // the logo
    QLabel* Label1 = nullptr; // "Presents...."
    QLabel* Label2 = nullptr; // the product name
    QLabel* Label3 = nullptr; // the version
    QLabel* Label4 = nullptr; // credits, three lines
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
