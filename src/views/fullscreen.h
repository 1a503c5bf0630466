// TForm11, the full-screen viewer. Its display and strip come with the full-screen command.
#pragma once

#include "framework/modalform.h"

class TForm11 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr) : TModalForm(parent)
    {
        setObjectName(QStringLiteral("Form11"));
        setWindowTitle(QStringLiteral("FullScreen"));
    }
};
