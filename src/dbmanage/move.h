// TForm9, the window for copying and moving albums. Its lists come with those commands.
#pragma once

#include "framework/modalform.h"

class TForm9 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr) : TModalForm(parent)
    {
        setObjectName(QStringLiteral("Form9"));
        setWindowTitle(QStringLiteral("copy / move"));
    }
};
