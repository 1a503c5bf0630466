// ptable: shows what a Paradox table holds and whether its files are sound.
#include "commands.h"
#include "paradox/error.h"

#include <iostream>
#include <string>

namespace {

constexpr int cannotOpen = 2;

int usage()
{
    std::cerr << "usage: ptable info  <table.db>   header facts and fields\n"
                 "       ptable dump  <table.db>   every record; blobs as size and SHA-256\n"
                 "       ptable check <table.db>   structural check; exit status 0 sound, 1 faults,\n"
                 "                                 2 the table cannot be opened\n";
    return cannotOpen;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    const std::string command = argv[1];
    if (command != "info" && command != "dump" && command != "check")
        return usage();
    try {
        paradox::OpenOptions options;
        // Looking must not keep the program that owns the table from opening it too.
        options.lock = paradox::Lock::Shared;
        const paradox::Table table(argv[2], options);
        if (command == "info")
            return ptable::showInfo(table, std::cout);
        if (command == "dump")
            return ptable::dumpRecords(table, std::cout);
        return ptable::checkTable(table, std::cout);
    } catch (const paradox::Error& error) {
        std::cerr << "ptable: " << error.what() << '\n';
        return cannotOpen;
    }
}
