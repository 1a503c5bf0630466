// TForm7, the options window. Its pages come with the options command.
#pragma once

#include "framework/modalform.h"

class TForm7 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr) : TModalForm(parent)
    {
        setObjectName(QStringLiteral("Form7"));
        setWindowTitle(QStringLiteral("Options"));
    }
};
