// Which pictures are visible: those of one category, the marked ones, or all. The filter is
// the picture table's record filter; browsing, the slideshow and the batch commands then move
// among the visible pictures only.
#pragma once

class MainView;
class Tdb;

class CategoryFilter {
public:
    static constexpr int markPredicate = 25;

    CategoryFilter(Tdb& db, MainView& window);

    // Shows only the pictures of category 1..24, or with markPredicate the marked ones; the
    // first of them becomes current. Without an open album the filter is only recorded (and
    // reading the position then fails with the table's error).
    void showCategory(int predicate);
    void showMarked() { showCategory(markPredicate); }
    // Switches the filter off; the first picture of the whole table becomes current.
    void showAll();

private:
    Tdb& db_;
    MainView& window_;
};
