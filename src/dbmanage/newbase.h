// TForm8, the New Database window.
#pragma once

#include "framework/modalform.h"

class TForm8 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr) : TModalForm(parent)
    {
        setObjectName(QStringLiteral("Form8"));
        setWindowTitle(QStringLiteral("New Database"));
    }
};
