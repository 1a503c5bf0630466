// Small generated pictures, with memos, categories and marks, for the sample album.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

struct SamplePicture {
    QString name;     // the name a file import would have stored
    QByteArray bytes; // a whole JPEG or PNG file
    QString memo;
    std::vector<int> categories;
    bool marked = false;
};

std::vector<SamplePicture> makeSamplePictures();

// The category names of the sample album, categories 1 to 5.
std::vector<QString> sampleCategoryNames();
