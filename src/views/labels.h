// TForm2, the editor of the 24 category names. Its controls come with the category editor.
#pragma once

#include "framework/modalform.h"

class TForm2 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr) : TModalForm(parent)
    {
        setObjectName(QStringLiteral("Form2"));
        setWindowTitle(QStringLiteral("Category"));
    }
};
