// TForm10, the thumbnail manager. Its pages of thumbnails come with the thumbnail command.
#pragma once

#include "framework/modalform.h"

class TForm10 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr) : TModalForm(parent)
    {
        setObjectName(QStringLiteral("Form10"));
        setWindowTitle(QStringLiteral("Thumbnail manager"));
    }
};
