#include "helpers/pxoracle.h"

#include <algorithm>
#include <cstring>
#include <iconv.h>

extern "C" {
#include <paradox.h>
}

#include "helpers/testsupport.h"
#include "paradox/table.h"

namespace paradox::test {

namespace {

void collectError(pxdoc_t*, int, const char* message, void* data)
{
    static_cast<OracleTable*>(data)->errors.emplace_back(message);
}

bool isInteger(int type)
{
    return type == pxfShort || type == pxfLong || type == pxfDate || type == pxfTime || type == pxfAutoInc ||
           type == pxfLogical;
}

bool isDouble(int type)
{
    return type == pxfNumber || type == pxfCurrency || type == pxfTimestamp;
}

OracleValue convert(const pxval_t& value)
{
    if (value.isnull)
        return std::monostate{};
    if (isInteger(value.type))
        return value.value.lval;
    if (isDouble(value.type))
        return value.value.dval;
    const auto* begin = reinterpret_cast<const std::uint8_t*>(value.value.str.val);
    return Bytes(begin, begin + value.value.str.len);
}

} // namespace

OracleTable readWithPxlib(const std::filesystem::path& db, const std::filesystem::path& scratch)
{
    OracleTable table;
    pxdoc_t* doc = PX_new3(collectError, nullptr, nullptr, nullptr, &table);
    if (PX_open_file(doc, db.c_str()) < 0) {
        PX_delete(doc);
        table.errors.emplace_back("cannot open");
        return table;
    }
    const auto blobs = Table::blobPathFor(db);
    if (std::filesystem::exists(blobs)) {
        // pxlib 0.6.8 aborts on blob files whose size is a whole number of 4 KB units, which
        // every correct one is; one byte more gets it past that.
        const auto copy = scratch / ("pxlib-" + blobs.filename().string());
        Bytes bytes = readFile(blobs);
        bytes.push_back(0);
        writeFile(copy, bytes);
        PX_set_blob_file(doc, copy.c_str());
    }
    const pxfield_t* fields = PX_get_fields(doc);
    for (int i = 0; i < PX_get_num_fields(doc); ++i)
        table.fields.push_back({fields[i].px_fname, static_cast<unsigned char>(fields[i].px_ftype), fields[i].px_flen});
    for (int r = 0; r < PX_get_num_records(doc); ++r) {
        pxval_t** values = PX_retrieve_record(doc, r);
        std::vector<OracleValue> record;
        for (std::size_t i = 0; values && i < table.fields.size(); ++i) {
            record.push_back(convert(*values[i]));
            if (!values[i]->isnull && !isInteger(values[i]->type) && !isDouble(values[i]->type))
                doc->free(doc, values[i]->value.str.val);
            doc->free(doc, values[i]);
        }
        if (values)
            doc->free(doc, values);
        table.records.push_back(std::move(record));
    }
    PX_delete(doc);
    return table;
}

std::string toUtf8(const Bytes& text, int codePage)
{
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    std::string input(text.begin(), end);
    if (codePage == 65001)
        return input;
    iconv_t converter = iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str());
    std::string output(input.size() * 4, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size(), outLeft = output.size();
    iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace paradox::test
