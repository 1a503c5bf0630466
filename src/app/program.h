// The program's windows and data module, created once in their fixed order and kept until
// the program ends: the main window, the data module, then the modal windows.
#pragma once

#include <memory>

class DialogService;
class TForm1;
class Tdb;

class Program {
public:
    explicit Program(DialogService& dialogs);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TForm1& Form1() { return *form1_; }
    Tdb& db() { return *db_; }

private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<Tdb> db_;
};
