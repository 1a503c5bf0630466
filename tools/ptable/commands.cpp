#include "commands.h"

#include "paradox/error.h"
#include "valuetext.h"

#include <iomanip>

namespace ptable {

int showInfo(const paradox::Table& table, std::ostream& out)
{
    const paradox::TableInfo& info = table.info();
    out << "table          " << table.path().string() << '\n'
        << "file version   0x" << std::hex << info.fileVersion << std::dec << '\n'
        << "file type      " << info.fileType << (info.fileType == 0 ? " (keyed)" : " (not keyed)") << '\n'
        << "code page      " << info.codePage << '\n'
        << "header size    " << info.headerSize << '\n'
        << "block size     " << info.blockSizeBytes << '\n'
        << "record size    " << info.recordSize << '\n'
        << "records        " << table.recordCount() << " (header says " << info.declaredRecords << ")\n"
        << "blocks         " << info.blocksInUse << " in use of " << info.blocksInFile << ", first " << info.firstBlock
        << ", last " << info.lastBlock << ", first free " << info.firstFreeBlock << '\n'
        << "table name     " << info.tableName << '\n'
        << "sort order     " << info.sortOrder << '\n'
        << "blob file      " << paradox::Table::blobPathFor(table.path()).string() << '\n'
        << "writable       " << (table.writable() ? "yes" : "no: " + table.readOnlyReason()) << '\n'
        << "fields\n";
    for (std::size_t i = 0; i < table.fields().size(); ++i) {
        const paradox::FieldDef& field = table.fields()[i];
        out << "  " << std::setw(3) << i + 1 << "  " << std::left << std::setw(26) << field.name << std::setw(15)
            << paradox::typeName(field.type) << std::right << field.size << '\n';
    }
    return 0;
}

int dumpRecords(const paradox::Table& table, std::ostream& out)
{
    int status = 0;
    for (std::size_t record = 0; record < table.recordCount(); ++record) {
        out << "record " << record + 1 << '\n';
        for (std::size_t field = 0; field < table.fields().size(); ++field) {
            out << "  " << table.fields()[field].name << ": ";
            try {
                out << valueText(table, record, static_cast<int>(field)) << '\n';
            } catch (const paradox::Error& error) {
                out << "(unreadable: " << error.what() << ")\n";
                status = 1;
            }
        }
    }
    return status;
}

int checkTable(const paradox::Table& table, std::ostream& out)
{
    const std::vector<std::string> faults = table.check();
    for (const std::string& fault : faults)
        out << fault << '\n';
    if (faults.empty())
        out << table.path().string() << ": sound (" << table.recordCount() << " records)\n";
    return faults.empty() ? 0 : 1;
}

} // namespace ptable
