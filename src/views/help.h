// TForm3, the help window: a page of short texts for each part of the program. It opens on
// "Browsing" the first time and afterwards on the page last shown.
#pragma once

#include "framework/modalform.h"

class QPushButton;
class QTabWidget;

class TForm3 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
};
