// The commands that open the views' windows: the category editor, the thumbnail manager, the
// full-screen viewer, help and About. Binding the windows to the album's tables and to the main
// window happens here, once.
#pragma once

#include <memory>

#include "views/fullscreen.h"

class CategoryEditor;
class MainView;
class TDataSource;
class TPDBMultiImage;
class TForm2;
class TForm3;
class TForm5;
class TForm10;
class Tdb;

struct ViewWindows {
    TForm2& Form2;
    TForm3& Form3;
    TForm5& Form5;
    TForm10& Form10;
    TForm11& Form11;
};

class ViewCommands {
public:
    ViewCommands(Tdb& db, MainView& window, TPDBMultiImage& mainPictureView, const ViewWindows& windows,
                 FullScreenCommands fullScreen);
    ~ViewCommands();

    void editCategories();
    void showThumbnails();
    void showFullScreen();
    void showHelp();
    void showAbout();

private:
    ViewWindows windows_;
    TPDBMultiImage& mainPictureView_;
    TDataSource& pictures_;
    std::unique_ptr<CategoryEditor> categories_;
};
