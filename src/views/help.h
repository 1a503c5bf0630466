// TForm3, the help window with its pages. Its pages come with the help texts.
#pragma once

#include "framework/modalform.h"

class TForm3 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr) : TModalForm(parent)
    {
        setObjectName(QStringLiteral("Form3"));
        setWindowTitle(QStringLiteral("Help"));
    }
};
