// TForm5, the About window. Its contents come with the About command.
#pragma once

#include "framework/modalform.h"

class TForm5 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr) : TModalForm(parent)
    {
        setObjectName(QStringLiteral("Form5"));
        setWindowTitle(QStringLiteral("About"));
    }
};
