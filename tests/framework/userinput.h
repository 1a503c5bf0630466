// Mouse and key input as a user gives it, for window tests.
#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

#include <ostream>

// A double click as the platform delivers it: press, release, press, double click, release.
// QTest::mouseDClick alone sends only the double-click event, which item views ignore because
// no press on the item came before it.
inline void doubleClick(QWidget* widget, QPoint position)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, position);
    QTest::mousePress(widget, Qt::LeftButton, {}, position);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, position);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, position);
}

// Readable QStrings in GoogleTest's failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
